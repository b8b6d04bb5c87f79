#include "gui/app/print_commands_qt.h"

#include <algorithm>
#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <optional>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/document/settings_store.h"
#include "core/fields/edit_session.h"
#include "core/exchange/configuration_print.h"
#include "core/exchange/print_language.h"
#include "gui/print/print_list_dialog.h"
#include "gui/print/print_preview_qt.h"
#include "core/base/prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

namespace vrm {

namespace {

// The lists of the model, those of the settings checked (every list when
// nothing is stored yet); nothing when the user cancelled.
std::optional<print::Document> ChooseAndBuild(CMainFrame& frame) {
    EditSession& session = frame.Session();
    std::vector<print::PrintList> offered;
    for (const print::PrintListInfo& info : print::PrintLists())
        if (print::ListOffered(session.Context(), info.list)) offered.push_back(info.list);
    std::vector<print::PrintList> checked = offered;
    if (const auto stored = frame.Settings().ReadString(kSettingPrintLists)) {
        if (const auto parsed = print::ParseLists(*stored)) checked = *parsed;
    }
    PrintListDialog dialog(frame.Language(), offered, checked, &frame);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // Lists this model does not offer keep their place in the settings.
    std::vector<print::PrintList> remembered = dialog.Checked();
    for (const print::PrintList list : checked)
        if (std::find(offered.begin(), offered.end(), list) == offered.end()) remembered.push_back(list);
    frame.Settings().WriteString(kSettingPrintLists, print::ListTokens(remembered));

    return print::BuildConfigurationDocument(session, dialog.Checked(),
                                             {frame.App().Document().FileName(), PrintedAt(frame.Language())});
}

// Names the print preview's page view, zoom and page-number fields for
// screen readers (the framework leaves them unnamed; the zoom list gets a
// label beside it, which is how a list is named), and gives the page view
// one Tab stop.
void NamePreviewParts(QPrintPreviewDialog& preview, const LanguageTable& language) {
    const QString pages = LangText(language, tid::kAccPreviewPages);
    if (auto* view = preview.findChild<QPrintPreviewWidget*>()) {
        view->setAccessibleName(pages);
        for (QGraphicsView* g : view->findChildren<QGraphicsView*>()) {
            g->setAccessibleName(pages);
            g->viewport()->setAccessibleName(pages);
            view->setFocusProxy(g);  // one Tab stop for the page view, not two
        }
    }
    auto* zoom = preview.findChild<QComboBox*>();
    auto* bar = preview.findChild<QToolBar*>();
    if (zoom && bar) {
        auto* label = new QLabel(LangText(language, tid::kAccPreviewZoom), bar);
        label->setBuddy(zoom);
        for (QAction* action : bar->actions()) {
            if (bar->widgetForAction(action) == zoom) {
                bar->insertWidget(action, label);
                break;
            }
        }
        if (zoom->lineEdit()) zoom->lineEdit()->setAccessibleName(label->text());
    }
    for (QLineEdit* edit : preview.findChildren<QLineEdit*>())
        if (!zoom || edit != zoom->lineEdit()) edit->setAccessibleName(LangText(language, tid::kAccPreviewPage));
}

}  // namespace

std::string PrintedAt(const LanguageTable& language) { return print::PrintedNow(language); }

void PreviewFromDialog(CMainFrame& frame, QWidget* dialog, const print::Document& doc) {
    print::PreviewDocument(dialog, doc, print::StyleFor(frame.Language()), [&frame](QPrintPreviewDialog& preview) {
        NamePreviewParts(preview, frame.Language());
        frame.SetPrintPreview([&preview] { preview.reject(); });
    });
    frame.ClearPrintPreview();
}

void RegisterPrintCommands(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kPrint, [&frame] {
        if (frame.InPrintPreview()) return;
        const std::optional<print::Document> doc = ChooseAndBuild(frame);
        if (doc && print::PrintDocument(&frame, *doc, print::StyleFor(frame.Language())) == print::PrintOutcome::Failed) {
            Message m;
            m.caption = frame.App().Text(tid::kCaptionError);
            m.text = frame.App().Text(tid::kPrintFailed);
            m.textId = static_cast<int>(tid::kPrintFailed);
            frame.GetPrompter().Ask(m);
        }
    });
    frame.RegisterCommand(cmd::kPrintPreview, [&frame] {
        if (frame.InPrintPreview()) return;
        const std::optional<print::Document> doc = ChooseAndBuild(frame);
        if (doc) PreviewFromDialog(frame, &frame, *doc);
    });
}

}  // namespace vrm
