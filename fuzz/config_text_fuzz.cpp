// The text import (vrm650t-cli import, File > Import from Text) and the
// export of what it imported.
//
// Properties, for a text the import takes:
// - the fields it read are the fields a person reads in the text, with the
//   same values (checked for texts in the plain form, see plain_yaml.h): no
//   line end, comment or quote makes it read something else without a word;
// - every field the text sets holds the value given, or a note says what it
//   holds instead;
// - exporting the result and importing that again gives the same 1024
//   bytes, without a note.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/exchange/config_text.h"
#include "core/exchange/config_text_plan.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "fuzz_support.h"
#include "core/model/model_catalogue.h"
#include "plain_yaml.h"

namespace {

using namespace vrm;

std::string Listed(const std::vector<config_text::Entry>& fields) {
    std::string s;
    for (const auto& f : fields) s += f.key + "=[" + f.value + "] ";
    return s;
}

void CheckReadAsWritten(std::string_view text) {
    const std::optional<std::vector<fuzz::PlainField>> plain = fuzz::ReadPlainFields(text);
    if (!plain) return;
    const config_text::Plan plan = config_text::Parse(text);
    bool same = plain->size() == plan.fields.size();
    for (std::size_t i = 0; same && i < plain->size(); ++i)
        same = (*plain)[i].key == plan.fields[i].key && (*plain)[i].value == plan.fields[i].value;
    std::string seen;
    for (const auto& f : *plain) seen += f.key + "=[" + f.value + "] ";
    fuzz::Require(same, "the import reads the fields a person reads in the text",
                  "text says: " + seen + "\nimport read: " + Listed(plan.fields));
}

void CheckGivenOrNoted(std::string_view text, const ConfigTextImport& imported) {
    const config_text::Plan plan = config_text::Parse(text);
    RadioImage image;
    ModelCatalogue catalogue(image);
    image.Live() = imported.image;
    catalogue.RecomputeBandLimits();
    EditSession session(image, catalogue, fuzz::English());
    session.SetDecimalSeparator(".");
    for (const config_text::Entry& e : plan.fields) {
        const std::optional<FieldRef> ref = FindField(session.Context(), e.key);
        fuzz::Require(ref.has_value(), "every key of a text taken is a field of its model", e.key);
        if (!field::StoredDifferently(session.Context(), *ref, e.value)) continue;
        const bool noted = std::any_of(imported.notes.begin(), imported.notes.end(),
                                       [&](const std::string& n) { return n.rfind(e.key + ":", 0) == 0; });
        fuzz::Require(noted, "a value stored other than given has a note", e.key + "=[" + e.value + "]");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kConfigTextMaxBytes) return 0;  // refused by its size before it is read
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ConfigTextImport imported = ImportConfigText(text, fuzz::English());
    if (!imported.ok) {
        fuzz::Require(!imported.problem.empty(), "a refused text says why");
        return 0;
    }
    CheckReadAsWritten(text);
    CheckGivenOrNoted(text, imported);

    const ConfigTextExport exported = ExportConfigText(imported.image, fuzz::English());
    fuzz::Require(exported.ok, "an imported configuration exports", exported.problem);
    const ConfigTextImport again = ImportConfigText(exported.text, fuzz::English());
    fuzz::Require(again.ok, "an export imports", again.problem + "\n" + exported.text);
    std::string differ;
    for (std::size_t i = 0; i < kImageSize; ++i)
        if (again.image[i] != imported.image[i]) differ += std::to_string(i) + " ";
    fuzz::Require(differ.empty(), "export and import again give the same 1024 bytes", "bytes " + differ);
    fuzz::Require(again.notes.empty(), "an export imports without notes", again.notes.empty() ? "" : again.notes[0]);
    return 0;
}
