#include "core/fields/edit_session.h"

#include <algorithm>

#include "core/model/model_catalogue.h"

namespace vrm {

EditSession::EditSession(RadioImage& image, ModelCatalogue& catalogue, const LanguageTable& language)
    : image_(image), tables_(catalogue, language), context_{image, catalogue, tables_, language, "."} {}

WriteResult EditSession::Commit(const FieldRef& ref, const FieldInput& input) {
    if (!ref.Valid() || !Enabled(ref)) return WriteResult::Refuse();
    const ImageBuffer before = image_.Live();
    WriteResult result = field::Write(context_, ref, input);
    Settle(before);
    return result;
}

int EditSession::RowCount(const FieldTable& table) const {
    return table.records ? table.records->count(context_) : 0;
}

bool EditSession::RowExists(const FieldTable& table, int row) const {
    return table.records && row >= 0 && row < RowCount(table) && table.records->exists(context_, row);
}

void EditSession::CopyRows(const FieldTable& table, int first, int last) {
    if (!table.records) return;
    first = std::max(first, 0);
    last = std::min(last, RowCount(table) - 1);
    if (first > last) return;
    RecordClipboard copy;
    copy.table = &table;
    copy.firstRow = first;
    copy.lastRow = last;
    copy.identity = image_.Identity();
    const RecordLayout& r = *table.records;
    for (int row = first; row <= last; ++row) {
        RecordSlot slot;
        if (r.exists(context_, row)) {
            slot.present = true;
            const std::size_t at = r.base + r.stride * static_cast<std::size_t>(row);
            slot.bytes.assign(image_.Live().begin() + static_cast<std::ptrdiff_t>(at),
                              image_.Live().begin() + static_cast<std::ptrdiff_t>(at + r.stride));
        }
        copy.records.push_back(std::move(slot));
    }
    clipboard_ = std::move(copy);
}

bool EditSession::CanPaste(const FieldTable& table) const {
    return clipboard_.Holds(table) && clipboard_.identity == image_.Identity();
}

bool EditSession::PasteRows(const FieldTable& table, int row) {
    if (!CanPaste(table) || row < 0 || row >= RowCount(table)) return false;
    const RecordLayout& r = *table.records;
    return Change([&](EditContext& ctx) {
        const int count = RowCount(table);
        for (std::size_t i = 0; i < clipboard_.records.size() && row + static_cast<int>(i) < count; ++i) {
            const int target = row + static_cast<int>(i);
            if (r.exists(ctx, target)) r.remove(ctx, target);
            if (clipboard_.records[i].present) r.paste(ctx, target, clipboard_.records[i]);
        }
        return true;
    });
}

bool EditSession::DeleteRows(const FieldTable& table, const std::vector<int>& rows) {
    if (!table.records) return false;
    return Change([&](EditContext& ctx) {
        bool any = false;
        for (int row : rows) {
            if (RowExists(table, row)) any = table.records->remove(ctx, row) || any;
        }
        return any;
    });
}

bool EditSession::Change(const std::function<bool(EditContext&)>& change) {
    const ImageBuffer before = image_.Live();
    const bool did = change(context_);
    return Settle(before) || did;
}

bool EditSession::Settle(const ImageBuffer& before) {
    if (before == image_.Live()) return false;
    undo_.push_back(before);
    if (undo_.size() > kMaxUndoSteps) undo_.pop_front();
    redo_.clear();
    Notify(before);
    return true;
}

void EditSession::Notify(const ImageBuffer& before) {
    if (!listener_) return;
    const ImageBuffer& now = image_.Live();
    const auto first = std::mismatch(before.begin(), before.end(), now.begin());
    if (first.first == before.end()) return;
    const auto last = std::mismatch(before.rbegin(), before.rend(), now.rbegin());
    ImageChange change;
    change.first = static_cast<std::size_t>(first.first - before.begin());
    change.last = kImageSize - 1 - static_cast<std::size_t>(last.first - before.rbegin());
    listener_(change);
}

bool EditSession::Step(std::deque<ImageBuffer>& from, std::deque<ImageBuffer>& to) {
    if (from.empty()) return false;
    const ImageBuffer before = image_.Live();
    to.push_back(before);
    image_.Live() = from.back();
    from.pop_back();
    Notify(before);
    return true;
}

bool EditSession::Undo() { return Step(undo_, redo_); }

bool EditSession::Redo() { return Step(redo_, undo_); }

void EditSession::ClearHistory() {
    undo_.clear();
    redo_.clear();
}

}  // namespace vrm
