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
constexpr int kTreeBarId = 123;

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
// Actions, bars and menus

void CMainFrame::CreateActions() {
    auto add = [this](int command) {
        if (actions_.count(command)) return;
        auto* action = new QAction(this);
        action->setData(command);
        action->setObjectName(QStringLiteral("cmd%1").arg(command));
        connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
        actions_[command] = action;
    };
    for (const MenuTable& table : MenuBarTables()) {
        for (const CommandEntry& e : table.entries) {
            if (!e.IsSeparator()) add(e.command);
        }
    }
    for (const Accelerator& a : Accelerators()) add(a.command);

    // Shortcuts: every key of the table on its command's action.
    std::map<int, QList<QKeySequence>> keys;
    for (const Accelerator& a : Accelerators())
        keys[a.command].push_back(QKeySequence::fromString(QString::fromStdString(a.keys), QKeySequence::PortableText));
    for (auto& [command, list] : keys) actions_[command]->setShortcuts(list);
    // Commands reached only by key work anywhere in the frame.
    for (int command : {cmd::kFocusTree, cmd::kGridCopy, cmd::kGridPaste, cmd::kChannelEdit}) {
        actions_[command]->setShortcutContext(Qt::WindowShortcut);
        addAction(actions_[command]);
    }
    for (int command : {cmd::kTreeView, cmd::kToolBar, cmd::kStatusBar}) actions_[command]->setCheckable(true);
    // The remaining commands are in the menu bar, which also takes their keys.
    for (auto& [command, action] : actions_) addAction(action);

    // F1 outside a menu: the active editor's focused item, or the tool bar
    // button under the mouse.
    auto* contextHelp = new QAction(this);
    contextHelp->setObjectName(QStringLiteral("contextHelp"));
    contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
    contextHelp->setShortcutContext(Qt::WindowShortcut);
    connect(contextHelp, &QAction::triggered, this, &CMainFrame::OnContextHelp);
    addAction(contextHelp);

    // Ctrl+F6 and Ctrl+Shift+F6 go to the next and previous editor window
    // (Ctrl+Tab belongs to the focused control).
    for (const bool next : {true, false}) {
        auto* cycle = new QAction(this);
        cycle->setObjectName(next ? QStringLiteral("nextWindow") : QStringLiteral("previousWindow"));
        cycle->setShortcut(next ? QKeySequence(Qt::CTRL | Qt::Key_F6) : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
        cycle->setShortcutContext(Qt::WindowShortcut);
        connect(cycle, &QAction::triggered, this, [this, next] {
            if (!mdi_) return;
            if (next) mdi_->activateNextSubWindow();
            else mdi_->activatePreviousSubWindow();
        });
        addAction(cycle);
    }

    for (MenuId id : {MenuId::File, MenuId::Model, MenuId::Edit, MenuId::Program, MenuId::Tool, MenuId::Setup,
                      MenuId::View, MenuId::Window, MenuId::Help}) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("menu%1").arg(static_cast<int>(id)));
        menu->installEventFilter(this);  // F1 on a highlighted entry
        menu->setToolTipsVisible(false);
        menus_[id] = menu;
    }
    connect(menus_[MenuId::View], &QMenu::aboutToShow, this, [this] { UpdateCommandUi(); });
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("ToolBar"));
    toolBar_->setIconSize(QSize(16, 15));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(false);
    toolBar_->toggleViewAction()->setVisible(false);
    const QIcon images[] = {icons::New(), icons::Open(), icons::Save(), icons::Print(),
                            icons::Read(), icons::Write(), icons::About()};
    std::size_t image = 0;
    for (const ToolButton& b : ToolBarButtons()) {
        if (b.command == cmd::kNone) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = actions_[b.command];
        if (image < std::size(images)) action->setIcon(images[image++]);
        toolBar_->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    connect(toolBar_, &QToolBar::visibilityChanged, this, [this](bool) { UpdateCommandUi(); });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    idleLabel_ = new QLabel(bar);
    idleLabel_->setObjectName(QStringLiteral("IdleText"));
    bar->addWidget(idleLabel_, 1);
}

void CMainFrame::CreateTreeBar() {
    treeBar_ = new QDockWidget(this);
    treeBar_->setObjectName(QStringLiteral("TreeBar"));
    treeBar_->setProperty("controlId", kTreeBarId);
    treeBar_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    treeBar_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    treeBar_->toggleViewAction()->setVisible(false);
    tree_ = new QTreeWidget(treeBar_);
    tree_->setObjectName(QStringLiteral("EditorTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setIconSize(QSize(16, 16));
    tree_->setRootIsDecorated(true);
    tree_->installEventFilter(this);
    tree_->resize(270, 500);
    treeBar_->setWidget(tree_);
    addDockWidget(Qt::LeftDockWidgetArea, treeBar_);
    treeBar_->hide();
    connect(tree_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { OnTreeItemChosen(item); });
    connect(treeBar_, &QDockWidget::visibilityChanged, this, [this](bool) { UpdateCommandUi(); });
}

void CMainFrame::RebuildMenuBar(bool withWindowMenu) {
    const LanguageTable& language = app_.Language();
    const bool showWindowMenu = withWindowMenu || (windowMenuShown_ && AnyEditorOpen());
    for (const MenuTable& table : BuildMenuBar(app_.EntryMode(), true)) {
        QMenu* menu = menus_[table.id];
        menu->setTitle(LangText(language, table.caption));
        if (table.id == MenuId::Window && !withWindowMenu && windowMenuShown_) continue;
        menu->clear();
        for (const CommandEntry& e : table.entries) {
            if (e.IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            QAction* action = actions_[e.command];
            action->setText(LangText(language, e.caption));
            action->setStatusTip(WithoutMnemonic(LangText(language, e.status)));
            menu->addAction(action);
        }
    }
    // The pop-ups go back into the menu bar in order. A maximised editor's
    // system-menu and window buttons stay where the MDI area put them.
    QMenuBar* bar = menuBar();
    bar->clear();
    for (const MenuTable& table : MenuBarTables()) {
        if (table.id == MenuId::Window && !showWindowMenu) continue;
        bar->addMenu(menus_[table.id]);
    }
    windowMenuShown_ = showWindowMenu;
    for (const ToolButton& b : ToolBarButtons()) {
        if (b.command != cmd::kNone)
            actions_[b.command]->setToolTip(WithoutMnemonic(LangText(language, b.toolTip)));
    }
    bar->update();
    UpdateCommandUi();
}

QAction* CMainFrame::Action(int command) const {
    const auto it = actions_.find(command);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* CMainFrame::Menu(MenuId id) const {
    const auto it = menus_.find(id);
    return it == menus_.end() ? nullptr : it->second;
}

void CMainFrame::ApplyLanguageTexts() {
    const LanguageTable& language = app_.Language();
    treeBar_->setWindowTitle(WithoutMnemonic(LangText(language, tid::kTreeBarCaption)));
    if (tree_) tree_->setAccessibleName(treeBar_->windowTitle());
    idleLabel_->setText(LangText(language, tid::kStatusReady));
    toolBar_->setWindowTitle(WithoutMnemonic(LangText(language, tid::kCmdToolBar)));
    for (CChildFrame* frame : findChildren<CChildFrame*>()) {
        if (frame->View())
            frame->setWindowTitle(WithoutMnemonic(LangText(language, EditorCaption(frame->View()->ViewClass()))));
    }
    help_->ApplyLanguage();
}

void CMainFrame::InstallFrameworkTranslation() {
    // The framework's own dialogs (the file dialogs, key names in menus)
    // follow the language file: vrm650t_<code>.lng uses Qt's qtbase_<code>.
    if (qtTranslator_) {
        QCoreApplication::removeTranslator(qtTranslator_.get());
        qtTranslator_.reset();
    }
    static const QRegularExpression pattern(QStringLiteral("_([a-z]{2})\\.lng$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromStdString(app_.LanguageFile()));
    if (!match.hasMatch() || match.captured(1) == QLatin1String("en")) return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_") + match.captured(1),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        qtTranslator_ = std::move(translator);
    }
}

void CMainFrame::ApplyFonts() {
    InstallFrameworkTranslation();
    fonts_ = UiFonts::FromSettings(app_.Language().Settings());
    QApplication::setFont(fonts_.dialog);
    setFont(fonts_.dialog);
    tree_->setFont(fonts_.fixedPitch);
    help_->SetFont(fonts_.dialog);
    ApplyLanguageTexts();
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
