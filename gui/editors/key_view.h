// CKeyView and CKeyImageView: the function of each programmable key in a
// grid, and a picture of the radio that marks the key of the grid's row.
// Opening either opens the other beside it.
#pragma once

#include <QWidget>

#include "gui/widgets/editor_views.h"

namespace vrm {

// The radio seen from the front with its two programmable keys; mark 1 and
// 2 highlight key 1 and key 2, mark 3 the channel knob, 0 nothing.
class KeyPicture final : public QWidget {
    Q_OBJECT
public:
    explicit KeyPicture(QWidget* parent = nullptr);
    void SetMark(int mark);
    int Mark() const { return mark_; }
    QSize sizeHint() const override { return {kWidth + 4, kHeight + 4}; }

    static constexpr int kWidth = 140;
    static constexpr int kHeight = 300;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int mark_ = 0;
};

class CKeyImageView final : public EditorView {
    Q_OBJECT
public:
    CKeyImageView(EditorHost& host, QWidget* parent = nullptr);
    void RefreshFromImage() override {}
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;
    // Marks a key (0: none) and says which, with its assignment, to screen
    // readers.
    void ShowMark(int mark, const QString& spoken);
    KeyPicture* Picture() const { return picture_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    EditorHost& host_;
    KeyPicture* picture_ = nullptr;
    bool opened_ = false;
};

class CKeyView final : public GridEditorView {
    Q_OBJECT
public:
    CKeyView(EditorHost& host, QWidget* parent = nullptr);
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowMark(int mark);
    bool opened_ = false;
};

// Opens the key image beside the key assignment window (or the key
// assignment beside the image) and keeps `active` the active editor.
void OpenKeyPair(EditorHost& host, EditorView& active);

}  // namespace vrm
