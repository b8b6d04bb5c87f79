// The controls of fields: one function makes the control a field's kind
// asks for (a line edit with its validator, a drop-down list, an editable
// combo, a check box, a spin box), one loads it from the field model, one
// reads what the user did with it. Forms and grid cells use the same three.
#pragma once

#include <QComboBox>
#include <QSpinBox>
#include <QString>
#include <optional>

#include "core/fields/field_access.h"

class QWidget;

namespace vrm {

class EditSession;
class LanguageTable;
class Prompter;

// A combo box that knows whether its last activation came from its list
// (a choice) or from its edit (a typed text): the two run different rules.
class FieldCombo final : public QComboBox {
    Q_OBJECT
public:
    explicit FieldCombo(QWidget* parent = nullptr);
    // True while the activation being handled was a pick from the list.
    bool PickedFromList() const { return picked_; }
    void showPopup() override;
    void hidePopup() override;
    bool PopupOpen() const { return open_; }

private:
    bool picked_ = false;
    bool open_ = false;
};

// A number field's spin box. One step up or down wraps around; a field with
// an off value steps off, minimum ... maximum, off. A stored value outside
// the range shows an empty box; a step from there goes to the minimum (up)
// or the maximum (down). Typed digits (with a leading minus) are left to
// the field's rule, which clamps them and rounds them to the step.
class FieldSpin final : public QSpinBox {
    Q_OBJECT
public:
    explicit FieldSpin(QWidget* parent = nullptr);
    void SetRule(int min, int max, int step, bool hasOff, const QString& offText);
    void SetBlank(bool blank);
    bool Blank() const { return blank_; }
    bool Off() const { return hasOff_ && !blank_ && value() == minimum(); }
    // What the box shows as the field's text.
    QString FieldText() const;

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

private:
    bool hasOff_ = false;
    bool blank_ = false;
    int fieldMin_ = 0;  // the field's own minimum (off sits below it)
    QString offText_;
};

namespace fieldui {

// The control for `ref`'s field, named by the field's key. In a grid cell a
// check box is a drop-down of its on and off texts.
QWidget* CreateEditor(EditSession& session, const FieldRef& ref, QWidget* parent, bool inGridCell);

// Fills the control's list and shows the field's value; returns the text
// loaded (what Input compares with).
QString Load(QWidget* editor, EditSession& session, const FieldRef& ref);

// What the user did with the control since it was loaded with `loaded`:
// nothing when it still holds that value.
std::optional<FieldInput> Input(QWidget* editor, const QString& loaded);

// Gives the control (and the line edit inside a spin box or an editable
// combo, which screen readers reach on their own) its accessible name.
void SetAccessibleName(QWidget* editor, const QString& name);

// Starts editing a text control: its text replaced by `text` (Backspace
// gives an empty one, a typed character that character). False when the
// control takes no text or its filter refuses it.
bool StartWithText(QWidget* editor, const QString& text);

// The message boxes a write asks for: each message as a warning, a refusal
// with its reason as an error.
void ShowWriteResult(Prompter& prompter, const LanguageTable& language, const WriteResult& result);

}  // namespace fieldui
}  // namespace vrm
