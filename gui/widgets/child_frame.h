// The editor windows' frames inside the main frame's MDI area. Each view
// class is shown in the frame class its document template names:
// CZnInfoFrm (channel information), CSpecialFrame (features, keys, key
// image) or CChildFrame (every other editor). A frame opens inside the
// main frame's work area, however small the screen.
#pragma once

#include <QMdiSubWindow>
#include <string>

namespace vrm {

class EditorView;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(const std::string& frameClass, EditorView* view, QWidget* parent = nullptr);

    const std::string& FrameClass() const { return frameClass_; }
    EditorView* View() const { return view_; }

    // The frame for a frame class name.
    static CChildFrame* Create(const std::string& frameClass, EditorView* view, QWidget* parent = nullptr);

    // Makes the window fit its MDI area: no larger than the area (a form
    // scrolls inside it instead) and wholly inside it. Done as the window
    // first shows and once more after its contents settled.
    void FitIntoArea();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string frameClass_;
    EditorView* view_;
    bool fitted_ = false;
};

class CZnInfoFrm final : public CChildFrame {
    Q_OBJECT
public:
    explicit CZnInfoFrm(EditorView* view, QWidget* parent = nullptr) : CChildFrame("CZnInfoFrm", view, parent) {}
};

class CSpecialFrame final : public CChildFrame {
    Q_OBJECT
public:
    explicit CSpecialFrame(EditorView* view, QWidget* parent = nullptr)
        : CChildFrame("CSpecialFrame", view, parent) {}
};

}  // namespace vrm
