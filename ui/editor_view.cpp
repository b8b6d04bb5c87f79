#include "ui/editor_view.h"

namespace vrm {

EditorView::EditorView(std::string viewClass, QWidget* parent) : QWidget(parent), viewClass_(std::move(viewClass)) {
    setObjectName(QString::fromStdString(viewClass_));
}

void EditorView::SetWindowText(const QString& title) {
    setWindowTitle(title);
    if (QWidget* frame = parentWidget()) frame->setWindowTitle(title);
}

}  // namespace vrm
