#include "ui/editor_view.h"

#include <QFontMetrics>
#include <algorithm>

namespace vrm {

EditorView::EditorView(std::string viewClass, QWidget* parent) : QWidget(parent), viewClass_(std::move(viewClass)) {
    setObjectName(QString::fromStdString(viewClass_));
}

void EditorView::SetWindowText(const QString& title) {
    setWindowTitle(title);
    if (QWidget* frame = parentWidget()) frame->setWindowTitle(title);
}

QSize EditorView::WithTitleRoom(QSize size) const {
    QString title = windowTitle();
    if (const QWidget* frame = parentWidget(); frame && !frame->windowTitle().isEmpty()) title = frame->windowTitle();
    QFont bold = font();
    bold.setBold(true);
    // The window's icon and its three buttons take about 100 pixels.
    size.setWidth(std::max(size.width(), QFontMetrics(bold).horizontalAdvance(title) + 100));
    return size;
}

}  // namespace vrm
