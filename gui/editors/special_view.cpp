#include "gui/editors/special_view.h"

#include <QApplication>
#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/fields/edit_session.h"
#include "core/fields/editor_commands.h"
#include "core/fields/editor_tables.h"
#include "core/base/text_ids.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/field_form.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/record_grid.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

namespace {

// A tab page holding `content` under a group box captioned `group` (none: no box).
QWidget* Page(QWidget* content, const QString& group, QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    if (group.isEmpty()) {
        layout->addWidget(content);
    } else {
        auto* box = new QGroupBox(group, page);
        auto* inner = new QVBoxLayout(box);
        content->setParent(box);
        inner->addWidget(content);
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

}  // namespace

CSpecialView::CSpecialView(EditorHost& host, QWidget* parent) : EditorView("CSpecialView", parent), host_(host) {
    EditSession& session = host_.Session();
    const LanguageTable& language = host_.Language();
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("AdvancedTabs"));
    // Every tab title whole (German ones are long): the window is made wide
    // enough instead of scrolling or shortening the titles.
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideNone);

    signaling_ = new FieldForm(session, host_.GetPrompter(), language, AdvancedTable(), {"qt_reverse_burst"}, this);
    model_ = new RecordGridModel(session, language, BandPointTable(),
                                 [&session] { return BandPointGridColumns(session.Context()); }, this);
    GridOptions options;  // edited like the test frequencies: cells, not records
    options.records = false;
    options.cells = true;
    grid_ = new RecordGridView(model_, host_.GetPrompter(), this, options);
    grid_->setObjectName(QStringLiteral("bandpointGrid"));
    grid_->setFont(host_.Fonts().grid);
    grid_->FitColumns();
    grid_->SetCurrentRow(0);
    grid_->setMinimumSize(GridSizeHint(*grid_));
    usb_ = new FieldForm(session, host_.GetPrompter(), language, AdvancedTable(), {"usb_charging"}, this);

    tabs_->addTab(Page(signaling_, {}, tabs_), LangText(language, tid::kAdvancedTabSignaling));
    tabs_->addTab(Page(grid_, LangText(language, tid::kAdvancedTuningGroup), tabs_),
                  LangText(language, tid::kAdvancedTabTuning));
    tabs_->addTab(Page(usb_, LangText(language, tid::kFeatureUsbGroup), tabs_), LangText(language, tid::kAdvancedTabUsb));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(CloseHelpButtons(*this, host_, kAdvancedHelp, true));
    RefreshFromImage();
}

void CSpecialView::RefreshFromImage() {
    signaling_->Load();
    usb_->Load();
    model_->Reload();
}

bool CSpecialView::HandleCommand(int command) {
    return tabs_->currentIndex() == 1 && HandleGridCommand(*grid_, command);
}

std::optional<std::uint32_t> CSpecialView::HelpContext(bool& advanced) const {
    advanced = true;
    QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) return grid_->CurrentHelp();
    if (const auto help = signaling_->FocusedHelp()) return help;
    if (const auto help = usb_->FocusedHelp()) return help;
    return kAdvancedHelp;
}

}  // namespace vrm
