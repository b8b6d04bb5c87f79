// Reading and writing fields: the text a field shows, whether it is shown and
// enabled, the lines of its list, and a typed text, a choice or a check box
// put through the field's rule. Fields with a reader or writer of their own
// (the channel rules) use it; the others go by their kind and storage.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields/field.h"

namespace vrm {

// One field of one row of a table.
struct FieldRef {
    const FieldTable* table = nullptr;
    const FieldDef* field = nullptr;
    int row = 0;  // 0 for a plain form

    bool Valid() const { return table && field; }
    // "channel.3.rx", "features.tot"
    std::string Key() const;
};

namespace field {

// A number field's range now.
NumberRange Range(const EditContext& ctx, const FieldRef& ref);
// Image offset of the field's storage in this row.
std::size_t Address(const FieldRef& ref);
// The stored value (shifted and masked) and its store.
unsigned Raw(const EditContext& ctx, const FieldRef& ref);
void StoreRaw(EditContext& ctx, const FieldRef& ref, unsigned value);

std::string Text(const EditContext& ctx, const FieldRef& ref);
bool Shown(const EditContext& ctx, const FieldRef& ref);
// Shown, enabled, and for a record table a row of the model.
bool Enabled(const EditContext& ctx, const FieldRef& ref);
// List: the entries offered now (the field's own or its `offered`).
std::vector<Choice> Offered(const EditContext& ctx, const FieldRef& ref);
// The lines of the field's list or drop-down (List, Frequency and Code
// fields); empty for other kinds.
std::vector<FieldOption> Options(const EditContext& ctx, const FieldRef& ref);

// Runs the field's rule. Does not check Enabled: the caller does.
WriteResult Write(EditContext& ctx, const FieldRef& ref, const FieldInput& input);

// Turns a script's value into what the user would have done in the editor:
// on/off for a check box; a token or a shown text for a list; otherwise the
// text as typed ("off" stands for the off text). Nothing when the value
// names no entry of a list or is not on/off for a check box; `why` then
// holds the message.
std::optional<FieldInput> InputFromScript(const EditContext& ctx, const FieldRef& ref, std::string_view value,
                                          WriteResult& why);

// The text the field shows now when that is not the value `given` (a
// script's value, as InputFromScript reads it): a number clamped or rounded
// to its step, a frequency moved to the band or the channel step, a code
// clamped, a pair emptied. Nothing when the field holds what was given, in
// whatever form it was given ("67" for 67.0, "d023n" for D023N, "high" for
// High, "462.5625" for 462.56250).
std::optional<std::string> StoredDifferently(const EditContext& ctx, const FieldRef& ref, std::string_view given);

// The note for such a value: "KEY: VALUE given, STORED stored." in the
// language's words.
std::string StoredNote(const LanguageTable& language, const std::string& key, std::string_view given,
                       const std::string& stored);

// The check box texts (on 10300006, off 10300007).
std::string OnOffText(const EditContext& ctx, bool on);

// A refusal's message with its arguments filled in ("" when the write was
// refused without a word).
std::string RefusalText(const LanguageTable& language, const WriteResult& result);

}  // namespace field

// Text helpers shared by the field rules.
std::string Trimmed(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// A caption without its "&" mnemonic markers ("&&" stays one "&").
std::string StripMnemonic(std::string_view text);
// True for a plain decimal number: digits with at most one "." (after the
// separator was turned into "."), optional blanks around it.
bool IsDecimalNumber(std::string_view text);
// True for a text a QT/DQT code field takes: off (the off texts or "off"), a
// QT tone as a number (clamped into 67.0-254.1 Hz when stored), "D" with
// three digits and a polarity letter (digits clamped into 0-7), and on the
// preset-list models the custom codes CQT1-CQT6 and CDT1-CDT6.
bool IsCodeText(const EditContext& ctx, std::string_view text);

}  // namespace vrm
