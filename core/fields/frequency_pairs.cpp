#include "core/fields/frequency_pairs.h"

#include "core/fields/field_access.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

std::size_t FrequencyPairReader::At(int pair, int which) const {
    return layout_.base + 8 * static_cast<std::size_t>(pair) + 4 * static_cast<std::size_t>(which);
}

FrequencyCode FrequencyPairReader::Code(int pair, int which) const { return ctx_.image.Frequency(At(pair, which)); }

std::string FrequencyPairReader::Text(int pair, int which) const {
    return CodeTables::FrequencyToText(Code(pair, which), ctx_.separator);
}

void FrequencyPairs::Put(int pair, int which, FrequencyCode code, int step) {
    edit_.image.SetFrequency(At(pair, which), code);
    const std::size_t at = layout_.stepBase + static_cast<std::size_t>(pair);
    const std::uint8_t b = edit_.image.Byte(at);
    edit_.image.SetByte(at, which == 0 ? static_cast<std::uint8_t>((b & 0x0F) | ((step & 0x0F) << 4))
                                      : static_cast<std::uint8_t>((b & 0xF0) | (step & 0x0F)));
}

std::optional<ParsedFrequency> FrequencyPairs::Store(int pair, int which, const std::string& typed, bool& outOfBand) {
    std::string text = CodeTables::ReplaceAll(Trimmed(typed), edit_.separator, ".");
    outOfBand = !edit_.tables.BandCheck(text);
    const std::optional<ParsedFrequency> parsed = CodeTables::ParseFrequency(text);
    if (!parsed) {
        PutBlank(pair, which);
        return std::nullopt;
    }
    Put(pair, which, parsed->code, parsed->step);
    if (which == 0 && Blank(pair, 1)) Put(pair, 1, parsed->code, parsed->step);
    return parsed;
}

tid::TextId OutOfBandMessage(int which) { return which == 0 ? tid::kMsgRxOutOfBand : tid::kMsgTxOutOfBand; }

}  // namespace vrm
