#include "ui/child_frame.h"

#include <QAction>
#include <QLayout>
#include <QMdiArea>
#include <QMenu>

#include "ui/editor_view.h"

namespace vrm {

CChildFrame::CChildFrame(const std::string& frameClass, EditorView* view, QWidget* parent)
    : QMdiSubWindow(parent), frameClass_(frameClass), view_(view) {
    setObjectName(QString::fromStdString(frameClass));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
    KeepCtrlWForTheFrame();
}

void CChildFrame::KeepCtrlWForTheFrame() {
    // The window's own Close takes the platform's close keys, Ctrl+W among
    // them; Ctrl+W is the main frame's Write, so the window keeps Ctrl+F4.
    QMenu* menu = systemMenu();
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

void CChildFrame::FitToView() {
    if (QLayout* frameLayout = layout()) frameLayout->invalidate();
    QSize size = sizeHint();
    if (QMdiArea* area = mdiArea()) size = size.boundedTo(area->viewport()->size());
    resize(size.expandedTo(minimumSizeHint()));
}

CChildFrame* CChildFrame::Create(const std::string& frameClass, EditorView* view, QWidget* parent) {
    if (frameClass == "CZnInfoFrm") return new CZnInfoFrm(view, parent);
    if (frameClass == "CSpecialFrame") return new CSpecialFrame(view, parent);
    return new CChildFrame(frameClass.empty() ? std::string("CChildFrame") : frameClass, view, parent);
}

}  // namespace vrm
