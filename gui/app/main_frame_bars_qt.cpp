// The main frame's actions, tool bar, status bar, tree bar and menu bar,
// and the texts and fonts they take from the language file.
#include "gui/app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLibraryInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>

#include "core/base/text_ids.h"
#include "core/document/application.h"
#include "core/document/frame_text.h"
#include "gui/widgets/child_frame.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/help_window.h"
#include "gui/widgets/icons.h"

namespace vrm {

namespace {

constexpr int kTreeBarId = 123;

}  // namespace

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

    CreateWindowKeys();

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

// Keys that work anywhere in the frame without a menu entry.
void CMainFrame::CreateWindowKeys() {
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

}  // namespace vrm
