// The base of every editor view. A view shows one area of the radio data
// image; it reads the image when it loads and writes each field the moment
// the user commits it. The main frame asks every open view to reload after
// data shown elsewhere changed (RefreshFromImage), routes the commands that
// belong to the active view (F11 Channel Edit, grid Copy and Paste) to
// HandleCommand, and asks it for the help context of the focused item.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

class QAction;

namespace vrm {

class EditSession;
class EditorView;
class LanguageTable;
class Prompter;
struct UiFonts;

// What an editor view may ask of the window it lives in: the one write path,
// the message boxes, the texts and fonts, and the other editors.
class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual EditSession& Session() = 0;
    virtual Prompter& GetPrompter() = 0;
    virtual const LanguageTable& Language() const = 0;
    virtual const UiFonts& Fonts() const = 0;
    // Activates the open editor of that view class, or opens one.
    virtual EditorView* OpenEditor(const std::string& viewClass) = 0;
    virtual EditorView* FindOpenEditor(const std::string& viewClass) const = 0;
    // Opens the help page at a context (the advanced help file when asked).
    virtual void ShowEditorHelp(std::uint32_t context, bool advanced) = 0;
};

// Installed on the application: the keys of `actions` (Undo and Redo) pressed
// in a control inside `editors` go on to those actions unless the control
// holds typing not committed yet (then they undo and redo that typing). A
// text field would otherwise take them for its own undo, which has nothing
// left once the field was committed.
class EditorUndoKeys final : public QObject {
public:
    EditorUndoKeys(QWidget* editors, QList<QAction*> actions, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> editors_;
    QList<QAction*> actions_;
};

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

    // The title of the editor window this view is shown in.
    void SetWindowText(const QString& title);

    // Wide enough for the window's title beside its buttons.
    QSize sizeHint() const override { return WithTitleRoom(QWidget::sizeHint()); }

protected:
    QSize WithTitleRoom(QSize size) const;

private:
    std::string viewClass_;
};

}  // namespace vrm
