// The main frame's windows: the tree of editors, the editor windows in the
// MDI area, the title, the frame's placement, activation and closing.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "core/document/application.h"
#include "core/document/document.h"
#include "core/document/frame_text.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_frame_parts.h"
#include "core/document/settings_store.h"
#include "gui/print/print_preview_qt.h"
#include "core/base/prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/child_frame.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/help_window.h"
#include "gui/widgets/icons.h"
#include "gui/widgets/record_grid.h"

namespace vrm {

using frame::DecimalSeparator;
using frame::kCommandRole;

namespace {

// An editor window's own Close takes the platform's close keys, Ctrl+W among
// them; Ctrl+W is the frame's Write, so the window closes with Ctrl+F4.
void CloseWithCtrlF4(QMdiSubWindow* window) {
    QMenu* menu = window->systemMenu();
    if (!menu) return;
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    const QKeySequence ctrlF4(Qt::CTRL | Qt::Key_F4);
    for (QAction* action : menu->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(ctrlW) == 0) continue;
        if (!keys.contains(ctrlF4)) keys.prepend(ctrlF4);
        action->setShortcuts(keys);
    }
}

// The size a freshly opened editor window takes: what its view asks for,
// within the MDI area, and no smaller than the window can be.
void FitToView(QMdiSubWindow* window) {
    if (QLayout* layout = window->layout()) layout->invalidate();
    QSize size = window->sizeHint();
    if (QMdiArea* area = window->mdiArea()) size = size.boundedTo(area->viewport()->size());
    window->resize(size.expandedTo(window->minimumSizeHint()));
}

}  // namespace

// ---------------------------------------------------------------------------
// Tree of editors

void CMainFrame::RebuildTree() {
    const LanguageTable& language = app_.Language();
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_);
    root->setText(0, QString::fromStdString(app_.ModelSummary(DecimalSeparator())));
    root->setIcon(0, icons::TreeRoot());
    for (const TreeChild& child : TreeChildren(app_.EntryMode())) {
        auto* item = new QTreeWidgetItem(root);
        item->setText(0, WithoutMnemonic(LangText(language, child.caption)));
        item->setIcon(0, icons::TreeEditor());
        item->setData(0, kCommandRole, child.command);
        item->setDisabled(!IsCommandEnabled(child.command));
    }
    root->setExpanded(true);
    tree_->setCurrentItem(root);
}

void CMainFrame::ShowTree(bool focus) {
    RebuildTree();
    treeBar_->show();
    if (!treeSized_) {
        // 270 wide, or wide enough for the model name (within reason).
        const QString rootText = tree_->topLevelItem(0)->text(0);
        const int needed = tree_->fontMetrics().horizontalAdvance(rootText) + tree_->indentation() +
                           tree_->iconSize().width() + 2 * tree_->frameWidth() + 24;
        resizeDocks({treeBar_}, {std::clamp(needed, 270, 480)}, Qt::Horizontal);
        treeSized_ = true;
    }
    if (focus) {
        treeBar_->raise();
        tree_->setFocus(Qt::ShortcutFocusReason);
    }
    UpdateCommandUi();
}

void CMainFrame::OnTreeView() {
    if (treeBar_->isVisible()) {
        treeBar_->hide();
        if (EditorView* view = ActiveEditor()) view->setFocus();
    } else {
        ShowTree(true);
    }
    UpdateCommandUi();
}

void CMainFrame::OnFocusTree() {
    if (treeBar_->isVisible()) {
        tree_->setFocus(Qt::ShortcutFocusReason);
    } else {
        ShowTree(true);
    }
}

void CMainFrame::OnTreeItemChosen(QTreeWidgetItem* item) {
    if (!item) return;
    const QVariant command = item->data(0, kCommandRole);
    if (!command.isValid()) return;
    PostCommand(command.toInt());
    // The frame takes the focus back; an editor that opens takes it then.
    mdi_->setFocus();
}

// ---------------------------------------------------------------------------
// Editors

bool CMainFrame::AnyEditorOpen() const { return mdi_ && !mdi_->subWindowList().isEmpty(); }

EditorView* CMainFrame::FindOpenEditor(const std::string& viewClass) const {
    if (!mdi_) return nullptr;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (frame && frame->View() && frame->View()->ViewClass() == viewClass) return frame->View();
    }
    return nullptr;
}

std::vector<EditorView*> CMainFrame::OpenEditors() const {
    std::vector<EditorView*> views;
    if (!mdi_) return views;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (frame && frame->View()) views.push_back(frame->View());
    }
    return views;
}

EditorView* CMainFrame::ActiveEditor() const {
    auto* frame = mdi_ ? qobject_cast<CChildFrame*>(mdi_->activeSubWindow()) : nullptr;
    return frame ? frame->View() : nullptr;
}

EditorView* CMainFrame::OpenEditor(const std::string& viewClass) {
    if (EditorView* open = FindOpenEditor(viewClass)) {
        auto* frame = qobject_cast<QMdiSubWindow*>(open->parentWidget());
        if (frame) {
            if (frame->isMinimized()) frame->showNormal();
            mdi_->setActiveSubWindow(frame);
        }
        return open;
    }
    const auto factory = editorFactories_.find(viewClass);
    if (factory == editorFactories_.end()) return nullptr;
    EditorView* view = factory->second(*this, nullptr);
    if (!view) return nullptr;
    CChildFrame* frame = CChildFrame::Create(FrameClassForView(viewClass), view);
    CloseWithCtrlF4(frame);
    // A view that names its window itself (the channel grid shows its row).
    const QString caption = WithoutMnemonic(LangText(app_.Language(), EditorCaption(viewClass)));
    frame->setWindowTitle(!view->windowTitle().isEmpty() ? view->windowTitle() : caption);
    // A screen reader names the editor's grid and tab pages by the editor's
    // caption.
    for (QAbstractItemView* grid : view->findChildren<QAbstractItemView*>()) {
        if (grid->accessibleName().isEmpty()) grid->setAccessibleName(caption);
    }
    for (QTabWidget* tabs : view->findChildren<QTabWidget*>()) {
        if (tabs->accessibleName().isEmpty()) tabs->setAccessibleName(caption);
    }
    frame->setWindowIcon(icons::TreeEditor());
    mdi_->addSubWindow(frame);
    connect(frame, &QObject::destroyed, this, [this] {
        // After the last editor closed, the Window menu goes.
        QTimer::singleShot(0, this, [this] {
            if (!AnyEditorOpen() && windowMenuShown_) RebuildMenuBar(false);
            UpdateCommandUi();
        });
    });
    frame->show();
    mdi_->setActiveSubWindow(frame);
    RebuildMenuBar(true);
    return view;
}

void CMainFrame::RefreshAllViews() {
    statusBar()->clearMessage();  // "Saved ..." no longer holds
    statusBar()->setAccessibleDescription(QString());
    for (EditorView* view : OpenEditors()) view->RefreshFromImage();
    emit viewsRefreshRequested();
}

void CMainFrame::FitEditorsToModel() {
    if (!mdi_) return;
    // Rows the new model hides or shows have asked their layouts to update.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        auto* frame = qobject_cast<CChildFrame*>(w);
        if (!frame || !frame->View()) continue;
        for (RecordGridView* grid : frame->View()->findChildren<RecordGridView*>()) grid->FitColumns();
        frame->View()->updateGeometry();
        if (!frame->isMaximized() && !frame->isMinimized()) FitToView(frame);
    }
}

void CMainFrame::CloseAllEditors() {
    closingAll_ = true;
    // Close requests go to the active window until none is left; a window
    // that refuses to close ends the loop.
    while (AnyEditorOpen()) {
        QMdiSubWindow* active = mdi_->activeSubWindow();
        if (!active) active = mdi_->subWindowList().first();
        active->setAttribute(Qt::WA_DeleteOnClose, false);
        if (!active->close()) break;
        delete active;
    }
    if (treeBar_->isVisible()) treeBar_->hide();
    closingAll_ = false;
    if (windowMenuShown_) RebuildMenuBar(false);
    UpdateCommandUi();
}

void CMainFrame::TileWindows(bool horizontally) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (!w->isMinimized()) windows.push_back(w);
    }
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        if (horizontally) {
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        } else {
            const int wd = area.width() / n;
            w->setGeometry(i * wd, 0, i == n - 1 ? area.width() - i * wd : wd, area.height());
        }
    }
}

void CMainFrame::ArrangeIcons() {
    // Minimised editor windows line up along the bottom of the area.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (!w->isMinimized()) continue;
        const QSize size = w->size();
        if (x + size.width() > area.width() && x > 0) x = 0;
        w->move(x, area.height() - size.height());
        x += size.width();
    }
}

// ---------------------------------------------------------------------------
// Title

void CMainFrame::RefreshTitle() {
    // "[*]" after the file name is where the window shows "*" while the data
    // is modified; a "[*]" of a name or text is doubled to show as itself.
    auto literal = [](const std::string& text) {
        return QString::fromStdString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")).toStdString();
    };
    const std::string title =
        MainFrameTitle(literal(app_.ModelSummary(DecimalSeparator())), literal(app_.Text(tid::kTitleFileLabel)),
                       literal(app_.Document().FileName()) + "[*]", app_.NoEncryption());
    setWindowTitle(QString::fromStdString(title));
    setWindowModified(app_.Document().IsModified());
}

// ---------------------------------------------------------------------------
// Window placement, activation, closing

WindowPlacement CMainFrame::CurrentPlacement() const {
    WindowPlacement p;
    const QRect normal = (isMaximized() || isMinimized()) && normalGeometry().isValid() ? normalGeometry() : geometry();
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    if (isMinimized()) {
        p.showCommand = WindowPlacement::kShowMinimized;
        if (windowState() & Qt::WindowMaximized) p.flags = WindowPlacement::kRestoreToMaximized;
    } else if (isMaximized()) {
        p.showCommand = WindowPlacement::kShowMaximized;
    } else {
        p.showCommand = WindowPlacement::kShowNormal;
    }
    return p;
}

void CMainFrame::RestorePlacement(const std::optional<std::string>& lastWinPos) {
    const std::optional<WindowPlacement> placement =
        lastWinPos ? ParseLastWinPos(*lastWinPos) : std::optional<WindowPlacement>();
    if (!placement) {
        showMaximized();
        return;
    }
    QRect rect(placement->left, placement->top, std::max(placement->Width(), 320), std::max(placement->Height(), 240));
    // A rectangle on no screen (a monitor that is gone) comes back onto the
    // primary screen.
    bool onScreen = false;
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect)) onScreen = true;
    }
    if (!onScreen && QGuiApplication::primaryScreen()) {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        rect.setSize(rect.size().boundedTo(avail.size()));
        rect.moveTopLeft(avail.topLeft());
    }
    setGeometry(rect);
    switch (placement->showCommand) {
        case WindowPlacement::kShowMaximized: showMaximized(); break;
        case WindowPlacement::kShowMinimized:
            if (placement->flags & WindowPlacement::kRestoreToMaximized) setWindowState(Qt::WindowMaximized);
            showMinimized();
            break;
        default: showNormal(); break;
    }
}

void CMainFrame::StorePlacement() {
    settings_.WriteString(kSettingLastWinPos, FormatLastWinPos(PlacementToStore(CurrentPlacement(), isMinimized())));
}

void CMainFrame::BringToFront() {
    if (isMinimized()) {
        if (windowState() & Qt::WindowMaximized) showMaximized();
        else showNormal();
    }
    show();
    raise();
    activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void CMainFrame::SetPrintPreview(CommandHandler endPreview) { endPreview_ = std::move(endPreview); }

void CMainFrame::ClearPrintPreview() {
    endPreview_ = nullptr;
    setEnabled(true);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (endPreview_) {
        const CommandHandler end = std::move(endPreview_);
        endPreview_ = nullptr;
        end();
        setEnabled(true);
        event->ignore();
        return;
    }
    // A preview a dialog opened without telling the frame ends the same way.
    if (QPrintPreviewDialog* preview = print::RunningPreview(this)) {
        preview->reject();
        event->ignore();
        return;
    }
    Message question;
    question.kind = MessageKind::Question;
    question.buttons = Buttons::OkCancel;
    question.defaultAnswer = Answer::Cancel;
    question.caption = app_.Text(tid::kFrameCloseCaption);
    question.text = app_.Text(tid::kFrameCloseQuestion);
    question.textId = static_cast<int>(tid::kFrameCloseQuestion);
    if (prompter_.Ask(question) != Answer::Ok) {
        event->ignore();
        return;
    }
    if (!app_.Document().SaveModified(prompter_, fileDialogs_)) {
        event->ignore();
        return;
    }
    StorePlacement();
    CloseHelpWindows();
    closingAll_ = true;
    for (QMdiSubWindow* w : mdi_->subWindowList()) delete w;
    closingAll_ = false;
    event->accept();
}

void CMainFrame::timerEvent(QTimerEvent* event) {
    (void)event;
    OnTimer();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // F1 on a highlighted menu entry opens its help.
        if (key->key() == Qt::Key_F1 && event->type() == QEvent::KeyPress) {
            if (auto* menu = qobject_cast<QMenu*>(watched)) {
                QAction* action = menu->activeAction();
                const std::optional<HelpRequest> help =
                    action ? HelpForCommand(action->data().toInt()) : std::nullopt;
                if (help) {
                    for (auto& [id, m] : menus_) m->close();
                    ShowHelp(*help);
                }
                return true;
            }
        }
    }
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && treeBar_->isVisible()) {
            PostCommand(cmd::kTreeView);
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            OnTreeItemChosen(tree_->currentItem());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vrm
