// The base of every editor view. A view shows one area of the radio data
// image; it reads the image when it loads and writes each field the moment
// the user commits it. The main frame asks every open view to reload after
// data shown elsewhere changed (RefreshFromImage), routes the commands that
// belong to the active view (F11 Channel Edit, grid Copy and Paste) to
// HandleCommand, and asks it for the help context of the focused item.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

namespace vrm {

class EditorView : public QWidget {
    Q_OBJECT
public:
    explicit EditorView(std::string viewClass, QWidget* parent = nullptr);

    // The view class name it was registered under ("CKeyView", ...).
    const std::string& ViewClass() const { return viewClass_; }

    // Reload every control from the radio data image.
    virtual void RefreshFromImage() = 0;

    // A command the frame routes to the active view; true when handled.
    virtual bool HandleCommand(int command) {
        (void)command;
        return false;
    }

    // The help context of the item that has the focus (F1); nullopt when
    // the item has none. `advanced` selects the advanced help file.
    virtual std::optional<std::uint32_t> HelpContext(bool& advanced) const {
        (void)advanced;
        return std::nullopt;
    }

    // The fonts or texts changed (after a language change the frame closes
    // the editors, so views rarely need this).
    virtual void ApplyLanguage() {}

private:
    std::string viewClass_;
};

}  // namespace vrm
