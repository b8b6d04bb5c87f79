// Field assignment by key and text, the path of vrm650t-cli set (and of
// every field of a text import): a model's New defaults, then a run of
// assignments, each a key (by its place in the model's list of every field,
// or typed) and a value.
//
// The input: one byte for the model, then assignments. An assignment
// starts with a byte: 0xFF is followed by a typed key up to '='; any other
// byte and the one after it pick a field of the list. The value runs to the
// next line feed.
//
// Properties, for each assignment:
// - a refused, unknown, hidden or disabled one changes nothing;
// - one that changes the image is one undo step: Undo gives the image
//   before it, Redo the image after it;
// - one stored as given (no note) shows that value: typing the text the
//   field now shows changes nothing (but for the custom DQT default word,
//   which shows the text of another).
// At the end every field of the model reads, with its shown and enabled
// state.
#include <cstdint>
#include <string>
#include <vector>

#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "fuzz_support.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace {

using namespace vrm;

constexpr int kMaxAssignments = 24;

std::string Where(const std::string& key, std::string_view value) {
    return key + "=[" + std::string(value) + "]";
}

// The one stored value that shares its text with another: a custom DQT
// entry's default word 0x2813 (what New and any text other than a code store)
// shows as D023N, whose own word is 0x2013. Typing the text it shows stores
// 0x2013; the box reads the same.
bool SharesItsText(const FieldRef& ref, const ImageBuffer& image) {
    const std::string key = ref.Key();
    const std::size_t at = ref.field->storage.offset;
    return key.rfind("custom.cdt", 0) == 0 && image[at] == 0x13 && image[at + 1] == 0x28;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader in(data, size);
    RadioImage image;
    ModelCatalogue catalogue(image);
    fuzz::NewDefaults(image, catalogue, in.Byte() % 4 + 1);
    EditSession session(image, catalogue, fuzz::English());
    session.SetDecimalSeparator(".");

    for (int n = 0; n < kMaxAssignments && !in.Empty(); ++n) {
        const std::vector<FieldRef> fields = AllFields(session.Context());
        const std::uint8_t pick = in.Byte();
        std::string key;
        if (pick == 0xFF) {
            key = std::string(in.Until('='));
        } else {
            key = fields[((static_cast<std::size_t>(pick) << 8) | in.Byte()) % fields.size()].Key();
        }
        const std::string value(in.Until('\n'));

        const ImageBuffer before = image.Live();
        const std::size_t depth = session.UndoDepth();
        const ScriptWrite w = SetFromScript(session, key, value);
        if (!w.Ok()) {
            fuzz::Require(image.Live() == before && session.UndoDepth() == depth,
                          "an assignment not applied changes nothing", Where(key, value));
            continue;
        }
        const ImageBuffer after = image.Live();
        if (after != before) {
            fuzz::Require(session.UndoDepth() == std::min(depth + 1, EditSession::kMaxUndoSteps),
                          "an assignment is one undo step", Where(key, value));
            fuzz::Require(session.Undo() && image.Live() == before, "Undo gives the image before", Where(key, value));
            fuzz::Require(session.Redo() && image.Live() == after, "Redo gives the image after", Where(key, value));
        }
        if (w.stored || !w.result.messages.empty()) continue;
        const std::optional<FieldRef> ref = FindField(session.Context(), key);
        fuzz::Require(ref.has_value(), "an applied key names a field", key);
        if (!session.Shown(*ref) || !session.Enabled(*ref)) continue;
        const std::string shown = session.Text(*ref);
        const ScriptWrite again = SetFromScript(session, key, shown);
        if (again.Ok() && image.Live() != after && SharesItsText(*ref, after)) {
            fuzz::Require(session.Text(*ref) == shown, "the default custom DQT word's text reads as D023N",
                          Where(key, value) + " shows [" + session.Text(*ref) + "]");
            continue;
        }
        fuzz::Require(again.Ok() && image.Live() == after, "typing the shown text of a value stored as given changes nothing",
                      Where(key, value) + " shows [" + shown + "]");
    }

    for (const FieldRef& ref : AllFields(session.Context())) {
        (void)session.Text(ref);
        (void)session.Shown(ref);
        (void)session.Enabled(ref);
    }
    return 0;
}
