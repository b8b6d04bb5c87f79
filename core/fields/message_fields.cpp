#include "core/fields/editor_tables.h"

#include <algorithm>

#include "core/fields/field_access.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// The next code point of UTF-8 text, or -1 for a malformed sequence.
long NextCodePoint(std::string_view text, std::size_t& i) {
    const auto b = static_cast<unsigned char>(text[i++]);
    if (b < 0x80) return b;
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size()) return -1;
    long cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto c = static_cast<unsigned char>(text[i++]);
        if ((c & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (c & 0x3F);
    }
    return cp;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t LineAt(int line) { return kEmbeddedMessageArea.offset + kMessageLineSize * static_cast<std::size_t>(line); }

template <int Line>
std::string ReadLine(const EditContext& ctx, const FieldDef&, int) {
    return MessageLineText(ctx.image.Area(kEmbeddedMessageArea).data() + kMessageLineSize * Line);
}

// Stores a line: one byte a character in ISO 8859-1, trailing blanks cut,
// the rest of the 32 bytes zero. A character the radio cannot show (outside
// ISO 8859-1, or a control character) refuses the whole line.
template <int Line>
WriteResult WriteLine(EditContext& ctx, const FieldDef&, int, const FieldInput& input) {
    std::string bytes;
    const std::string& text = input.text;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const long cp = NextCodePoint(text, i);
        if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp > 0xFF)
            return WriteResult::Refuse(tid::kMsgMessageCharacter, {cp < 0x20 ? std::string("?") : text.substr(start, i - start)});
        bytes += static_cast<char>(cp);
    }
    while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
    if (bytes.size() > kMessageLineChars) return WriteResult::Refuse(tid::kMsgMessageTooLong);
    const std::size_t at = LineAt(Line);
    for (std::size_t k = 0; k < kMessageLineSize; ++k)
        ctx.image.SetByte(at + k, k < bytes.size() ? static_cast<std::uint8_t>(bytes[k]) : 0);
    return {};
}

const FieldDef kMessageFields[] = {
    {.key = "line1", .label = tid::kMessageLine1, .help = kMessageHelp, .kind = FieldKind::Text, .item = 0,
     .maxLength = static_cast<int>(kMessageLineChars), .read = ReadLine<0>, .write = WriteLine<0>},
    {.key = "line2", .label = tid::kMessageLine2, .help = kMessageHelp, .kind = FieldKind::Text, .item = 1,
     .maxLength = static_cast<int>(kMessageLineChars), .read = ReadLine<1>, .write = WriteLine<1>},
};

const FieldTable kMessageTable{"message", kMessageFields, nullptr};

}  // namespace

std::string MessageLineText(const std::uint8_t* field) {
    std::string text;
    for (std::size_t i = 0; i < kMessageLineSize && field[i] != 0; ++i) AppendUtf8(text, field[i]);
    return text;
}

const FieldTable& MessageTable() { return kMessageTable; }

}  // namespace vrm
