#include "ui/child_frame.h"

#include "ui/editor_view.h"

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

}  // namespace vrm
