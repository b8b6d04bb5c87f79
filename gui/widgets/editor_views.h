// The two kinds of editor window most editors are: a form of fields, or a
// grid of records, each with Close and Help under it. An editor that is no
// more than its field table is one of these and one registration line.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/fields/field.h"
#include "gui/widgets/editor_view.h"
#include "gui/widgets/record_grid.h"

class QPushButton;
class QVBoxLayout;

namespace vrm {

class FieldForm;

// Close and Help in a row at the bottom right of an editor.
QWidget* CloseHelpButtons(EditorView& view, EditorHost& host, std::uint32_t help, bool advanced);

class FormEditorView : public EditorView {
    Q_OBJECT
public:
    // The fields `keys` of `table` (all when empty); F1 without a focused
    // field and Help give `help`.
    FormEditorView(EditorHost& host, std::string viewClass, const FieldTable& table, std::uint32_t help,
                   std::vector<std::string> keys = {}, QWidget* parent = nullptr);

    void RefreshFromImage() override;
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;

    FieldForm* Form() const { return form_; }
    // Edits that show text a character wide each: the font and a width of
    // `characters` characters.
    void UseFixedPitch(const std::vector<std::string>& keys, const QFont& font, int characters);

protected:
    EditorHost& host_;
    const FieldTable& table_;
    FieldForm* form_ = nullptr;
    std::uint32_t help_;
};

class GridEditorView : public EditorView {
    Q_OBJECT
public:
    GridEditorView(EditorHost& host, std::string viewClass, const FieldTable& table,
                   std::function<std::vector<GridColumn>()> columns, std::uint32_t help, GridOptions options,
                   QWidget* parent = nullptr);

    void RefreshFromImage() override;
    bool HandleCommand(int command) override;
    std::optional<std::uint32_t> HelpContext(bool& advanced) const override;
    QSize sizeHint() const override;

    RecordGridView* Grid() const { return grid_; }

protected:
    EditorHost& host_;
    const FieldTable& table_;
    RecordGridModel* model_ = nullptr;
    RecordGridView* grid_ = nullptr;
    std::uint32_t help_;
};

// The size a grid needs to show every row and column.
QSize GridSizeHint(const RecordGridView& grid);

}  // namespace vrm
