// CMainFrame: the program's main window. It owns the menu bar (rebuilt from
// the command tables), the tool bar, the status bar, the dockable tree of
// editors and the MDI area where editor windows open, and it turns every
// command into an editor window, a dialog or a frame action.
//
// Hooks for the editor and transfer work:
// - RegisterEditorView(viewClass, factory): the view of an editor command.
//   Until its view is registered an editor command stays greyed out. The
//   factory gets the frame (App() reaches the image, the catalogue, the
//   language and the document) and the parent to create the view in.
// - RegisterCommand(command, handler): any other command (Read, Write,
//   Test Mode, Tuning Data, Memory Map, Radio Information, Print, Print
//   Preview); greyed out until registered.
// - OpenEditor / FindOpenEditor / OpenEditors: reach editor windows.
// - RefreshAllViews(): every open view reloads from the image
//   (EditorView::RefreshFromImage), and viewsRefreshRequested() is emitted.
// - AdoptReadData(): the frame's side of a successful read transfer.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/document/app_settings.h"
#include "core/document/command_tables.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/ui_fonts.h"

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTranslator;
class QTreeWidget;
class QTreeWidgetItem;

namespace vrm {

class Application;
class CChildFrame;
class EditorView;
class FileDialogs;
class HelpViewer;
class Prompter;
class SettingsStore;

class CMainFrame final : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    using EditorFactory = std::function<EditorView*(CMainFrame& frame, QWidget* parent)>;
    using CommandHandler = std::function<void()>;

    CMainFrame(Application& app, Prompter& prompter, FileDialogs& fileDialogs, SettingsStore& settings,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Creates the bars, the menu bar and the timer. False when any part
    // could not be made: the program does not start.
    bool Create();

    // ---- hooks --------------------------------------------------------
    void RegisterEditorView(const std::string& viewClass, EditorFactory factory);
    void RegisterCommand(int command, CommandHandler handler);
    bool IsCommandEnabled(int command) const;

    // ---- editors --------------------------------------------------------
    // Activates the open editor of that view class (restoring its frame), or
    // opens a new one and rebuilds the menu bar with the Window menu. Null
    // when the view class has no registered view.
    EditorView* OpenEditor(const std::string& viewClass) override;
    EditorView* FindOpenEditor(const std::string& viewClass) const override;
    std::vector<EditorView*> OpenEditors() const;
    EditorView* ActiveEditor() const;
    void RefreshAllViews();
    void CloseAllEditors();
    bool ClosingAll() const { return closingAll_; }

    // ---- frame actions --------------------------------------------------
    // Runs a command as the menu does.
    void RunCommand(int command);
    // Runs it once the current event is handled (the tree's way).
    void PostCommand(int command);
    void RefreshTitle();
    void RebuildMenuBar(bool withWindowMenu);
    // The model may have changed: menus, tree, title and status follow.
    void OnModelChanged();
    // The frame's side of a successful read: close all editors, adopt the
    // transfer image, fix up, rebuild the menu, refresh title and texts.
    void AdoptReadData();
    void ShowHelp(const HelpRequest& request);
    void CloseHelpWindows();
    // Start-up step 10: the stored placement, or maximised when it does not
    // hold ten numbers.
    void RestorePlacement(const std::optional<std::string>& lastWinPos);
    WindowPlacement CurrentPlacement() const;
    // A second start asked this copy to come to the front.
    void BringToFront();

    // A print preview runs; a close request then only ends it.
    void SetPrintPreview(CommandHandler endPreview);
    void ClearPrintPreview();
    bool InPrintPreview() const { return static_cast<bool>(endPreview_); }

    // ---- access ---------------------------------------------------------
    Application& App() { return app_; }
    SettingsStore& Settings() { return settings_; }
    Prompter& GetPrompter() override { return prompter_; }
    FileDialogs& GetFileDialogs() { return fileDialogs_; }
    const UiFonts& Fonts() const override { return fonts_; }
    EditSession& Session() override;
    const LanguageTable& Language() const override;
    void ShowEditorHelp(std::uint32_t context, bool advanced) override;
    QMdiArea* MdiArea() const { return mdi_; }
    QDockWidget* TreeBar() const { return treeBar_; }
    QTreeWidget* Tree() const { return tree_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QAction* Action(int command) const;
    QMenu* Menu(MenuId id) const;
    HelpViewer& Help() { return *help_; }
    // Re-reads the fonts from the language settings and applies them.
    void ApplyFonts();

signals:
    // Every editor view reloads from the radio data image.
    void viewsRefreshRequested();
    void modelChanged();
    void languageChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateWindowKeys();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateTreeBar();
    void ApplyLanguageTexts();
    void InstallFrameworkTranslation();
    void UpdateCommandUi();
    void OnTimer();
    bool IsEditorCommand(int command) const;

    // Commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnModelInformation();
    void OnLanguageSetup();
    void OnTreeView();
    void OnFocusTree();
    void OnAbout();
    void OnHelpTopics(bool advanced);
    void OnRouteToView(int command);
    void OnUndo(bool redo);
    // The edit session changed the image: every view reloads.
    void OnImageChanged();
    void OnContextHelp();
    void TileWindows(bool horizontally);
    void ArrangeIcons();

    // After a change of model every open editor takes the columns and the
    // size a freshly opened one would have.
    void FitEditorsToModel();
    void ShowTree(bool focus);
    void RebuildTree();
    void OnTreeItemChosen(QTreeWidgetItem* item);
    bool AnyEditorOpen() const;
    void StorePlacement();

    Application& app_;
    Prompter& prompter_;
    FileDialogs& fileDialogs_;
    SettingsStore& settings_;
    UiFonts fonts_;

    QMdiArea* mdi_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QDockWidget* treeBar_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QLabel* idleLabel_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<MenuId, QMenu*> menus_;
    std::map<std::string, EditorFactory> editorFactories_;
    std::map<int, CommandHandler> handlers_;
    std::unique_ptr<HelpViewer> help_;
    std::unique_ptr<QTranslator> qtTranslator_;
    CommandHandler endPreview_;
    std::string editorsModel_;  // the model identity the open editors were fitted to
    bool closingAll_ = false;
    bool treeSized_ = false;
    bool windowMenuShown_ = false;
    bool created_ = false;
};

}  // namespace vrm
