// The form builder: turns the fields of a table into labelled controls, loads
// them from the field model (text, list, shown, enabled), commits what the
// user does through the edit session and shows what the rule says. Enter
// moves on like Tab; F1 asks for the focused field's help context. Each
// control is named by its field key so that tests and the help find it.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/fields/field_access.h"

class QGridLayout;
class QGroupBox;
class QLabel;

namespace vrm {

class EditSession;
class LanguageTable;
class Prompter;

class FieldForm final : public QWidget {
    Q_OBJECT
public:
    // The form shows `keys` of `table` (all its fields when empty), in that
    // order, for row `row` of a record table.
    FieldForm(EditSession& session, Prompter& prompter, const LanguageTable& language, const FieldTable& table,
              std::vector<std::string> keys = {}, QWidget* parent = nullptr);

    void SetRow(int row);
    int Row() const { return row_; }

    // Reloads every control from the image: text, list, shown and enabled.
    // A control being edited keeps what the user typed.
    void Load();

    // The control and label of a field (null when the form has no such field).
    QWidget* Control(const std::string& key) const;
    QLabel* Label(const std::string& key) const;
    // The help context of the field whose control has the focus.
    std::optional<std::uint32_t> FocusedHelp() const;
    // The layout, for views that add rows of their own above the fields.
    QGridLayout* Grid() const { return grid_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    // After a commit (the image may have changed).
    void committed();

private:
    struct Entry {
        const FieldDef* field = nullptr;
        QGridLayout* layout = nullptr;  // the form's, or its group box's
        int line = 0;                   // row of that layout
        QGroupBox* group = nullptr;     // a group row: its box
        QLabel* label = nullptr;
        QWidget* control = nullptr;
        QString loaded;
    };
    void Commit(Entry& entry);
    void Connect(Entry& entry);
    // Makes the controls; a model with another entry mode asks for other
    // controls (a preset list instead of a typed frequency), so they are made
    // again when it changes.
    void BuildControls();

    EditSession& session_;
    Prompter& prompter_;
    const LanguageTable& language_;
    const FieldTable& table_;
    QGridLayout* grid_ = nullptr;
    std::vector<Entry> entries_;
    int builtMode_ = -1;
    int row_ = 0;
    bool committing_ = false;
};

}  // namespace vrm
