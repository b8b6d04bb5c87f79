#include "gui/widgets/child_frame.h"

#include <QMdiArea>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "gui/widgets/editor_view.h"

namespace vrm {

CChildFrame::CChildFrame(const std::string& frameClass, EditorView* view, QWidget* parent)
    : QMdiSubWindow(parent), frameClass_(frameClass), view_(view) {
    setObjectName(QString::fromStdString(frameClass));
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(view);
}

CChildFrame* CChildFrame::Create(const std::string& frameClass, EditorView* view, QWidget* parent) {
    if (frameClass == "CZnInfoFrm") return new CZnInfoFrm(view, parent);
    if (frameClass == "CSpecialFrame") return new CSpecialFrame(view, parent);
    return new CChildFrame(frameClass.empty() ? std::string("CChildFrame") : frameClass, view, parent);
}

void CChildFrame::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (fitted_) return;
    fitted_ = true;
    FitIntoArea();
    // Titles and fonts may still change the size as the view settles.
    QTimer::singleShot(0, this, &CChildFrame::FitIntoArea);
}

void CChildFrame::FitIntoArea() {
    QMdiArea* area = mdiArea();
    if (!area || isMaximized() || isMinimized()) return;
    const QRect room = area->viewport()->rect();
    if (room.isEmpty()) return;
    // At least as large as the view asks for, no larger than the room.
    const QSize wanted = sizeHint();
    QSize fitted = size().expandedTo(wanted).boundedTo(room.size());
    // A form shorter than it wants scrolls: room for its scroll bar beside
    // it (added once, however often the window is fitted).
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (fitted.height() < wanted.height()) fitted.setWidth(std::max(fitted.width(), wanted.width() + bar));
    fitted = fitted.boundedTo(room.size()).expandedTo(minimumSizeHint()).expandedTo(minimumSize());
    if (fitted != size()) resize(fitted);
    const int x = std::clamp(pos().x(), room.left(), std::max(room.left(), room.right() + 1 - width()));
    const int y = std::clamp(pos().y(), room.top(), std::max(room.top(), room.bottom() + 1 - height()));
    if (QPoint(x, y) != pos()) move(x, y);
}

}  // namespace vrm
