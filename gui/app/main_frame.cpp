#include "gui/app/main_frame.h"
#include "gui/app/main_frame_parts.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QWindow>

#include "gui/app/about_dialog.h"
#include "core/document/application.h"
#include "core/document/document.h"
#include "core/document/frame_text.h"
#include "gui/app/language_dialog.h"
#include "gui/app/model_dialog.h"
#include "core/base/prompter.h"
#include "core/document/settings_store.h"
#include "core/fields/edit_session.h"
#include "core/model/radio_image.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/child_frame.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/help_window.h"
#include "gui/widgets/icons.h"

namespace vrm {

using frame::DecimalSeparator;
using frame::kCommandRole;

namespace {

constexpr int kTimerMs = 1000;

// The MDI area without its own Ctrl+Tab window cycling: the key goes to the
// focused control of the active editor like any other key.
class MdiClient final : public QMdiArea {
public:
    explicit MdiClient(QWidget* parent) : QMdiArea(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                (key->modifiers() & Qt::ControlModifier))
                return QAbstractScrollArea::eventFilter(watched, event);
        }
        return QMdiArea::eventFilter(watched, event);
    }
};

// Commands whose work lives in the frame itself.
bool IsFrameCommand(int command) {
    switch (command) {
        case cmd::kNew: case cmd::kOpen: case cmd::kSave: case cmd::kSaveAs: case cmd::kExit:
        case cmd::kModelInformation: case cmd::kLanguageFileSetup: case cmd::kTreeView: case cmd::kFocusTree:
        case cmd::kToolBar: case cmd::kStatusBar: case cmd::kCascade: case cmd::kTileHorizontally:
        case cmd::kTileVertically: case cmd::kArrange: case cmd::kCloseAllWindow: case cmd::kHelpTopics:
        case cmd::kHelpTopicsAdvanced: case cmd::kAbout: case cmd::kGridCopy: case cmd::kGridPaste:
        case cmd::kChannelEdit: case cmd::kUndo: case cmd::kRedo:
            return true;
        default:
            return false;
    }
}

}  // namespace

CMainFrame::CMainFrame(Application& app, Prompter& prompter, FileDialogs& fileDialogs, SettingsStore& settings,
                       QWidget* parent)
    : QMainWindow(parent), app_(app), prompter_(prompter), fileDialogs_(fileDialogs), settings_(settings) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(icons::Program());
    help_ = std::make_unique<HelpViewer>(app_.Language());
}

CMainFrame::~CMainFrame() {
    app_.Session().SetListener(nullptr);
    app_.Document().SetSavedHandler(nullptr);
    // The bars report their hiding while the window goes; the frame no
    // longer listens then.
    for (QObject* bar : std::initializer_list<QObject*>{treeBar_, toolBar_, mdi_}) {
        if (bar) bar->disconnect(this);
    }
    // Editor views may reach the frame while they go.
    if (mdi_) {
        closingAll_ = true;
        for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
    }
}

bool CMainFrame::Create() {
    mdi_ = new MdiClient(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { UpdateCommandUi(); });

    fonts_ = UiFonts::FromSettings(app_.Language().Settings());
    CreateActions();
    qApp->installEventFilter(new EditorUndoKeys(mdi_, {actions_[cmd::kUndo], actions_[cmd::kRedo]}, this));
    CreateToolBar();
    CreateStatusBar();
    RebuildMenuBar(false);
    CreateTreeBar();
    if (!toolBar_ || !statusBar() || !treeBar_ || !tree_) return false;
    ApplyFonts();

    // Every change of the image through the editors reloads the open views.
    app_.Session().SetDecimalSeparator(std::string(1, DecimalSeparator()));
    app_.Session().SetListener([this](const ImageChange&) { OnImageChanged(); });
    // Every save says so in the status bar until the next change.
    app_.Document().SetSavedHandler([this](const std::string& path) {
        const QString note = QString::fromUtf8(FormatText(app_.Text(tid::kStatusSaved), {path}).c_str());
        statusBar()->showMessage(note);
        // No box comes with the note: screen readers hear it as the status
        // bar's description changing.
        statusBar()->setAccessibleDescription(note);
        RefreshTitle();
    });

    startTimer(kTimerMs);
    RefreshTitle();
    created_ = true;
    UpdateCommandUi();
    return true;
}

// ---------------------------------------------------------------------------
// Hooks and command state

void CMainFrame::RegisterEditorView(const std::string& viewClass, EditorFactory factory) {
    editorFactories_[viewClass] = std::move(factory);
    UpdateCommandUi();
}

void CMainFrame::RegisterCommand(int command, CommandHandler handler) {
    handlers_[command] = std::move(handler);
    if (!actions_.count(command)) {
        auto* action = new QAction(this);
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        actions_[command] = action;
        addAction(action);
    }
    UpdateCommandUi();
}

bool CMainFrame::IsEditorCommand(int command) const { return !ViewClassForCommand(command).empty(); }

bool CMainFrame::IsCommandEnabled(int command) const {
    if (handlers_.count(command)) return true;
    if (IsEditorCommand(command)) return editorFactories_.count(ViewClassForCommand(command)) > 0;
    switch (command) {
        case cmd::kCascade: case cmd::kTileHorizontally: case cmd::kTileVertically: case cmd::kArrange:
        case cmd::kCloseAllWindow:
            return AnyEditorOpen();
        case cmd::kUndo: return app_.Session().CanUndo();
        case cmd::kRedo: return app_.Session().CanRedo();
        default:
            return IsFrameCommand(command);
    }
}

void CMainFrame::UpdateCommandUi() {
    for (auto& [command, action] : actions_) action->setEnabled(IsCommandEnabled(command));
    if (const bool modified = app_.Document().IsModified(); modified != isWindowModified())
        setWindowModified(modified);
    if (treeBar_) actions_[cmd::kTreeView]->setChecked(treeBar_->isVisible());
    if (toolBar_) actions_[cmd::kToolBar]->setChecked(toolBar_->isVisible());
    actions_[cmd::kStatusBar]->setChecked(statusBar()->isVisible());
    // The tree's editors follow their commands.
    if (tree_ && tree_->topLevelItemCount() > 0) {
        QTreeWidgetItem* root = tree_->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            QTreeWidgetItem* item = root->child(i);
            const bool enabled = IsCommandEnabled(item->data(0, kCommandRole).toInt());
            if (item->isDisabled() == enabled) item->setDisabled(!enabled);
        }
    }
}

void CMainFrame::OnTimer() { UpdateCommandUi(); }

// ---------------------------------------------------------------------------
// Command routing

void CMainFrame::PostCommand(int command) {
    QMetaObject::invokeMethod(this, [this, command] { RunCommand(command); }, Qt::QueuedConnection);
}

void CMainFrame::RunCommand(int command) {
    if (!IsCommandEnabled(command)) return;
    const auto handler = handlers_.find(command);
    if (handler != handlers_.end()) {
        handler->second();
        return;
    }
    if (IsEditorCommand(command)) {
        OpenEditor(ViewClassForCommand(command));
        return;
    }
    switch (command) {
        case cmd::kNew: OnFileNew(); break;
        case cmd::kOpen: OnFileOpen(); break;
        case cmd::kSave: OnFileSave(); break;
        case cmd::kSaveAs: OnFileSaveAs(); break;
        case cmd::kExit: QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); break;
        case cmd::kModelInformation: OnModelInformation(); break;
        case cmd::kLanguageFileSetup: OnLanguageSetup(); break;
        case cmd::kTreeView: OnTreeView(); break;
        case cmd::kFocusTree: OnFocusTree(); break;
        case cmd::kToolBar: toolBar_->setVisible(!toolBar_->isVisible()); break;
        case cmd::kStatusBar: statusBar()->setVisible(!statusBar()->isVisible()); break;
        case cmd::kCascade: mdi_->cascadeSubWindows(); break;
        case cmd::kTileHorizontally: TileWindows(true); break;
        case cmd::kTileVertically: TileWindows(false); break;
        case cmd::kArrange: ArrangeIcons(); break;
        case cmd::kCloseAllWindow: CloseAllEditors(); break;
        case cmd::kHelpTopics: OnHelpTopics(false); break;
        case cmd::kHelpTopicsAdvanced: OnHelpTopics(true); break;
        case cmd::kAbout: OnAbout(); break;
        case cmd::kGridCopy: case cmd::kGridPaste: case cmd::kChannelEdit: OnRouteToView(command); break;
        case cmd::kUndo: OnUndo(false); break;
        case cmd::kRedo: OnUndo(true); break;
        default: break;
    }
    UpdateCommandUi();
}

void CMainFrame::OnRouteToView(int command) {
    if (EditorView* view = ActiveEditor()) view->HandleCommand(command);
}

EditSession& CMainFrame::Session() { return app_.Session(); }

const LanguageTable& CMainFrame::Language() const { return app_.Language(); }

void CMainFrame::ShowEditorHelp(std::uint32_t context, bool advanced) { ShowHelp(HelpRequest{advanced, context}); }

void CMainFrame::OnUndo(bool redo) {
    // The session's listener reloads the views.
    if (redo) app_.Session().Redo();
    else app_.Session().Undo();
}

void CMainFrame::OnImageChanged() {
    RefreshAllViews();
    UpdateCommandUi();
}

void CMainFrame::OnContextHelp() {
    if (EditorView* view = ActiveEditor()) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == view || view->isAncestorOf(focus))) {
            bool advanced = false;
            if (const std::optional<std::uint32_t> context = view->HelpContext(advanced)) {
                ShowHelp(HelpRequest{advanced, *context});
                return;
            }
        }
    }
    if (QWidget* under = QApplication::widgetAt(QCursor::pos())) {
        if (toolBar_->isAncestorOf(under)) {
            if (QAction* action = toolBar_->actionAt(toolBar_->mapFromGlobal(QCursor::pos()))) {
                if (const std::optional<HelpRequest> help = HelpForCommand(action->data().toInt())) ShowHelp(*help);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// File commands

void CMainFrame::OnFileNew() {
    if (app_.Document().OnFileNew(prompter_, fileDialogs_) != DocResult::Done) return;
    RefreshTitle();
    RefreshAllViews();
    OnModelChanged();
}

void CMainFrame::OnFileOpen() {
    const DocResult result = app_.Document().OnFileOpen(prompter_, fileDialogs_, [this] { CloseAllEditors(); });
    if (result != DocResult::Done) return;
    RebuildMenuBar(false);
    RefreshTitle();
    RefreshAllViews();
    OnModelChanged();
}

void CMainFrame::OnFileSave() {
    if (app_.Document().OnFileSave(prompter_) == DocResult::Done) RefreshTitle();
}

void CMainFrame::OnFileSaveAs() {
    if (app_.Document().OnFileSaveAs(prompter_, fileDialogs_) == DocResult::Done) RefreshTitle();
}

void CMainFrame::AdoptReadData() {
    CloseAllEditors();
    app_.Document().AdoptReadData();
    RebuildMenuBar(false);
    RefreshTitle();
    RefreshAllViews();
    OnModelChanged();
}

// ---------------------------------------------------------------------------
// Model, language, about, help

void CMainFrame::OnModelInformation() {
    ModelDialog dialog(app_, prompter_, fileDialogs_, this);
    dialog.SetHelpHandler([this] { ShowHelp(*HelpForCommand(cmd::kModelInformation)); });
    if (dialog.exec() != QDialog::Accepted) return;
    // The document has started a fresh edit history for changed data.
    if (dialog.Changed()) RefreshAllViews();
    RefreshTitle();
    CloseHelpWindows();
    OnModelChanged();
}

void CMainFrame::OnLanguageSetup() {
    LanguageTable& language = app_.Language();
    language.ScanInstalledLanguages(app_.ProgramFolder());
    LanguageDialog dialog(language, language.InstalledLanguages(), app_.LanguageFile(), this);
    dialog.SetHelpHandler([this] { ShowHelp(*HelpForCommand(cmd::kLanguageFileSetup)); });
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string chosen = dialog.ChosenFile();
    if (chosen.empty()) return;

    CloseHelpWindows();
    CloseAllEditors();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = app_.ChangeLanguage(chosen, prompter_);
    QApplication::restoreOverrideCursor();
    if (!loaded) return;
    ApplyFonts();
    RefreshTitle();
    RebuildMenuBar(false);
    RebuildTree();
    emit languageChanged();
}

void CMainFrame::OnAbout() {
    AboutDialog dialog(app_.Language(), this);
    dialog.exec();
}

void CMainFrame::OnHelpTopics(bool advanced) { ShowHelp(advanced ? HelpTopicsAdvanced() : HelpTopics()); }

void CMainFrame::ShowHelp(const HelpRequest& request) {
    // A mouse grab or a pressed button must not hold on while help opens.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LanguageSettings helpSlots;
    helpSlots.helpFiles = app_.HelpFiles();
    helpSlots.advancedHelpFile = app_.AdvancedHelpFile();
    const std::string path = LocateHelpFile(HelpFileName(helpSlots, app_.EntryMode(), request), app_.ProgramFolder());
    QApplication::restoreOverrideCursor();
    if (path.empty()) return;  // no page: no help
    help_->Open(QString::fromStdString(path), request.context);
}

void CMainFrame::CloseHelpWindows() { help_->CloseAll(); }

void CMainFrame::OnModelChanged() {
    const ModelIdentity identity = app_.Image().Identity();
    const std::string model(identity.begin(), identity.end());
    if (model != editorsModel_) {
        editorsModel_ = model;
        FitEditorsToModel();
    }
    RebuildMenuBar(AnyEditorOpen());
    if (treeBar_->isVisible()) RebuildTree();
    RefreshTitle();
    emit modelChanged();
}

}  // namespace vrm
