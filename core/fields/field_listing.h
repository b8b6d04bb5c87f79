// What the listings of the editors share (vrm650t-cli show and the
// print-out): an editor's heading, and the lines of a form as the form shows
// them, a group's caption above the fields it holds.
#pragma once

#include <string>
#include <vector>

#include "core/fields/field_access.h"

namespace vrm {

// The window caption of the editor a table belongs to (the tuning
// frequencies: their group's caption).
tid::TextId EditorCaption(const FieldTable& table);

// One line of a form: a shown field (indented by one more step inside a
// group), or the caption of a group (field null) above its first shown field.
struct FormLine {
    FieldRef ref;         // ref.field is the group for a caption line
    bool caption = false;
    int indent = 1;
};

// The shown fields of a plain form in table order; groups without a shown
// field leave no caption.
std::vector<FormLine> FormLines(const EditContext& ctx, const FieldTable& table);

}  // namespace vrm
