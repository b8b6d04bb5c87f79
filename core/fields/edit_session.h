// The one write path to the live image. Every change, from a form, a grid, a
// paste, the CLI or an import, goes through an EditSession: it checks that
// the field may be changed, runs the field's rule, records an undo step when
// the image changed and tells its listener which bytes changed. Undo and redo
// restore whole-image snapshots, so "modified" (live against saved image)
// stays right: undoing back to the saved state is not modified.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/fields/field_access.h"
#include "core/model/code_tables.h"
#include "core/model/radio_image.h"

namespace vrm {

class LanguageTable;
class ModelCatalogue;

// The bytes of the image that a change touched (first..last, inclusive).
struct ImageChange {
    std::size_t first = 0;
    std::size_t last = 0;
    bool Touches(ImageArea area) const { return first < area.End() && last >= area.offset; }
};

// The last rows copied from a record table, with the model they were copied
// under: records pasted into another model would carry its frequencies and
// links, so they are offered only to the same model.
struct RecordClipboard {
    const FieldTable* table = nullptr;
    std::vector<RecordSlot> records;
    int firstRow = 0;
    int lastRow = 0;
    ModelIdentity identity{};

    bool Holds(const FieldTable& t) const { return table == &t && !records.empty(); }
};

class EditSession {
public:
    static constexpr std::size_t kMaxUndoSteps = 1000;

    EditSession(RadioImage& image, ModelCatalogue& catalogue, const LanguageTable& language);
    EditSession(const EditSession&) = delete;
    EditSession& operator=(const EditSession&) = delete;

    // The user's decimal separator for shown texts ("." in the CLI).
    void SetDecimalSeparator(std::string separator) { context_.separator = std::move(separator); }
    EditContext& Context() { return context_; }
    const EditContext& Context() const { return context_; }
    const CodeTables& Tables() const { return tables_; }

    // ---- fields ---------------------------------------------------------
    std::string Text(const FieldRef& ref) const { return field::Text(context_, ref); }
    bool Shown(const FieldRef& ref) const { return field::Shown(context_, ref); }
    bool Enabled(const FieldRef& ref) const { return field::Enabled(context_, ref); }
    std::vector<FieldOption> Options(const FieldRef& ref) const { return field::Options(context_, ref); }
    // Commits a user's input: refused without a word when the field is
    // hidden or disabled, else through the field's rule as one undo step.
    WriteResult Commit(const FieldRef& ref, const FieldInput& input);

    // ---- rows of a record table -----------------------------------------
    int RowCount(const FieldTable& table) const;
    bool RowExists(const FieldTable& table, int row) const;
    // Copies rows first..last into the clipboard (empty rows as empty records).
    void CopyRows(const FieldTable& table, int first, int last);
    bool CanPaste(const FieldTable& table) const;
    // Pastes the clipboard from `row` on (rows past the table's end are
    // dropped); one undo step. False when nothing could be pasted.
    bool PasteRows(const FieldTable& table, int row);
    // Deletes every existing row among `rows`; one undo step. False when none
    // existed.
    bool DeleteRows(const FieldTable& table, const std::vector<int>& rows);
    const RecordClipboard& Clipboard() const { return clipboard_; }
    // The texts of the cells last copied from a grid that copies cells (the
    // test frequencies): rows of texts.
    std::vector<std::vector<std::string>>& CellClipboard() { return cells_; }

    // Any other change to the image as one undo step (`change` returns false
    // when it did nothing).
    bool Change(const std::function<bool(EditContext&)>& change);

    // ---- history --------------------------------------------------------
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    bool Undo();
    bool Redo();
    // New, Open, a read and a model change start a fresh history.
    void ClearHistory();
    std::size_t UndoDepth() const { return undo_.size(); }

    // Called after every change to the image made here (commit, paste,
    // delete, undo, redo).
    void SetListener(std::function<void(const ImageChange&)> listener) { listener_ = std::move(listener); }

private:
    // Records `before` as an undo step when the image differs from it, and
    // tells the listener. True when it changed.
    bool Settle(const ImageBuffer& before);
    void Notify(const ImageBuffer& before);
    // Restores the last snapshot of `from`, keeping the present image in `to`.
    bool Step(std::deque<ImageBuffer>& from, std::deque<ImageBuffer>& to);

    RadioImage& image_;
    CodeTables tables_;
    EditContext context_;
    std::deque<ImageBuffer> undo_;
    std::deque<ImageBuffer> redo_;
    RecordClipboard clipboard_;
    std::vector<std::vector<std::string>> cells_;
    std::function<void(const ImageChange&)> listener_;
};

}  // namespace vrm
