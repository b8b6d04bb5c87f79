#include "ui/editor_view.h"

namespace vrm {

EditorView::EditorView(std::string viewClass, QWidget* parent) : QWidget(parent), viewClass_(std::move(viewClass)) {
    setObjectName(QString::fromStdString(viewClass_));
}

}  // namespace vrm
