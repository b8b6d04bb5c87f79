// What a configuration text says, between the YAML and the image: the
// model, the field values in their order and the byte rows. Shared by the
// export (which builds and checks one) and the import (which reads one).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/radio_image.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

class LanguageTable;

namespace config_text {

struct Entry {
    std::string key;    // "channel.3.rx"
    std::string value;  // as a script gives it
    int line = 0;
};

struct ByteRow {
    std::size_t address = 0;
    std::vector<std::uint8_t> bytes;
    int line = 0;
};

struct Plan {
    int model = -1;
    int modelLine = 0;
    std::vector<Entry> fields;
    std::vector<ByteRow> rows;
    // Keys that stand for a map in the text: refused when they name a field.
    std::vector<Entry> maps;
};

// Why a text is refused: where, which key, and the message.
struct Refusal {
    int line = 0;
    std::string key;
    tid::TextId text = 0;
    std::vector<FormatArg> args;
};

// The YAML text's plan; throws Refusal.
Plan Parse(std::string_view text);

// The plan as YAML (the model's list text as a comment on its line).
std::string Emit(const Plan& plan);

// How Apply went. In the lenient mode (the export's check) a field the rules
// refuse is left out and named in `refused` instead of refusing the text.
struct Applied {
    ImageBuffer image{};
    std::vector<std::string> notes;
    std::array<int, kImageSize> writer{};  // the field that last changed each byte (-1: none)
    std::vector<std::size_t> refused;      // lenient mode: indices into plan.fields
};

// Builds the image the plan describes, in the documented order; throws
// Refusal (in the lenient mode only for what no field's omission mends).
Applied Apply(const Plan& plan, const LanguageTable& language, bool lenient);

// True when `text` is well-formed UTF-8; `bad` is the offset of the first
// byte that is not.
bool IsUtf8(std::string_view text, std::size_t* bad = nullptr);

}  // namespace config_text
}  // namespace vrm
