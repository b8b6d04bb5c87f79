// The grid of a record table (channels, and the other grids to come): one
// table model over the field model, one delegate that opens the field's own
// control in the cell, and one view that owns the keyboard: Enter opens the
// cell's editor (an empty row only in its first field, a disabled cell
// in the column it depends on), typing starts it, Backspace opens it empty,
// Delete deletes the selected rows, the context-menu key and a right click
// offer Copy, Paste, Delete, to Clip and to Clip with Title.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/fields/field_access.h"

namespace vrm {

class EditSession;
class LanguageTable;
class Prompter;
struct WriteResult;

class RecordGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // `columns` decides the columns for the current model (it is asked again
    // at every reload, so a model change follows).
    RecordGridModel(EditSession& session, const LanguageTable& language, const FieldTable& table,
                    std::function<std::vector<GridColumn>()> columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Reloads every cell; rebuilds rows and columns when their number changed.
    void Reload();
    // Commits a cell's input through the edit session.
    WriteResult Commit(const QModelIndex& index, const FieldInput& input);

    const std::vector<GridColumn>& Columns() const { return columns_; }
    FieldRef Ref(const QModelIndex& index) const;
    bool CellEnabled(const QModelIndex& index) const;
    EditSession& Session() const { return session_; }
    const FieldTable& Table() const { return table_; }
    const LanguageTable& Language() const { return language_; }

private:
    EditSession& session_;
    const LanguageTable& language_;
    const FieldTable& table_;
    std::function<std::vector<GridColumn>()> columnSource_;
    std::vector<GridColumn> columns_;
    int rows_ = 0;
};

class RecordGridView;

class RecordGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RecordGridDelegate(RecordGridView* view);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    // Enter in a cell's drop-down ends the edit there and goes no further:
    // the grid would take it as Enter on the cell and open it again.
    bool eventFilter(QObject* object, QEvent* event) override;

public:
    // The text the next editor starts with (a typed key, or empty for
    // Backspace); nothing: the cell's own text.
    void SetStartText(std::optional<QString> text) { startText_ = std::move(text); }
    // The editor made last (the one just opened).
    QWidget* LastEditor() const { return lastEditor_; }

private:
    RecordGridView* view_;
    mutable std::optional<QString> startText_;
    mutable QPointer<QWidget> lastEditor_;
};

// What a grid's commands work on.
struct GridOptions {
    // Copy, Paste and Delete take whole records (channels); the context
    // menu adds to Clip and to Clip(w/Title).
    bool records = true;
    // Copy, Paste and Delete take the selected cells' texts (test
    // frequencies); pasted texts go through each cell's rule.
    bool cells = false;
    // Delete and Backspace store the first entry of a list cell (keys).
    bool clearToFirstEntry = false;
    // Left and Right go on to the previous or next row's cells.
    bool wrapLeftRight = false;
};

class RecordGridView final : public QTableView {
    Q_OBJECT
public:
    RecordGridView(RecordGridModel* model, Prompter& prompter, QWidget* parent = nullptr, GridOptions options = {});

    RecordGridModel* GridModel() const { return model_; }
    int CurrentRow() const;
    // The rows of the selection, or the current row when nothing is selected.
    std::vector<int> SelectedRows() const;
    void SetCurrentRow(int row);

    // The grid commands.
    void Copy();
    void Paste();
    void DeleteRows();
    void CopyAsText(bool withTitle);
    bool CanPaste() const;

    // The help context of the current cell's field.
    std::optional<std::uint32_t> CurrentHelp() const;
    // Column widths from the table (their units, scaled to the font), at
    // least as wide as the header texts.
    void FitColumns();
    // The columns' width as FitColumns chose it, before the last column
    // stretches to fill a wider window: what a window's size hint asks for.
    int FittedWidth() const { return fittedWidth_; }

    // Tells screen readers that the cell's text changed (after a commit).
    void AnnounceCell(const QModelIndex& index);
    // Runs after a commit from a cell: shows what the rule says.
    void ReportCommit(const WriteResult& result);
    // Ends the edit of a cell's editor as its delegate does (commit first
    // when asked); for the delegate's const editor hooks.
    void EndCellEdit(QWidget* editor, QAbstractItemDelegate::EndEditHint hint, bool commit);

signals:
    void currentRowChanged(int row);
    // The focus left the grid (and its cell editors).
    void gridLeft();
    // The rows' data changed through this grid (commit, paste, delete).
    void dataEdited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    // Marks the editor as let go before the view moves the focus from it.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    // Where Enter on `index` edits: the row's first field on an empty row,
    // the column a disabled cell depends on; invalid when nowhere.
    QModelIndex EditTarget(const QModelIndex& index) const;
    bool OpenEditor(const QModelIndex& index, std::optional<QString> startText);
    // A printable key on a cell that is not being edited: a typed cell opens
    // with the key (when its filter takes it), a list cell's drop-down opens
    // and takes it.
    void StartEditWithKey(const QKeyEvent& event);
    void ShowContextMenu(const QPoint& globalPos);
    bool SelectionHasSeveralCells() const;
    // The selected cells' texts, and writing texts or blanks into cells.
    void CopyCells();
    void PasteCells();
    void DeleteCells();

    GridOptions options_;
    RecordGridModel* model_;
    RecordGridDelegate* delegate_;
    Prompter& prompter_;
    int fittedWidth_ = 0;
};

// A grid's share of the frame's commands (Ctrl+C, Ctrl+V): true when handled.
bool HandleGridCommand(RecordGridView& grid, int command);

}  // namespace vrm
