#include "core/model/code_tables.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

// QT tones in 0.1 Hz, in the order of the typed-frequency code list.
constexpr std::uint16_t kQtTones[] = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1622, 1679, 1738, 1799, 1862, 1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};
constexpr int kQtCount = static_cast<int>(std::size(kQtTones));
static_assert(kQtCount == 39);

// DQT codes as their three octal digits, in list order; the fixed-list code
// list adds 645 at the end.
constexpr std::uint16_t kDqtCodes[] = {
    0023, 0025, 0026, 0031, 0032, 0043, 0047, 0051, 0054, 0065, 0071, 0072, 0073, 0074, 0114,
    0115, 0116, 0125, 0131, 0132, 0134, 0143, 0152, 0155, 0156, 0162, 0165, 0172, 0174, 0205,
    0223, 0226, 0243, 0244, 0245, 0251, 0261, 0263, 0265, 0271, 0306, 0311, 0315, 0331, 0343,
    0346, 0351, 0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0464, 0465, 0466,
    0503, 0506, 0516, 0532, 0546, 0565, 0606, 0612, 0624, 0627, 0631, 0632, 0654, 0662, 0664,
    0703, 0712, 0723, 0731, 0732, 0734, 0743, 0754, 0645};
constexpr int kDqtTypedCount = 83;
constexpr int kDqtFixedCount = 84;
static_assert(std::size(kDqtCodes) == kDqtFixedCount);

constexpr std::uint16_t kDqtNormal = 0x2000;
constexpr std::uint16_t kDqtInverted = 0xA000;

// Preset frequencies in 10 Hz units.
constexpr std::uint32_t kPresetList99[CodeTables::kPresets99] = {
    46450000, 46455000, 46776250, 46781250, 46785000, 46787500, 46790000, 46792500, 46103750,
    46106250, 46108750, 46111250, 46113750, 46116250, 46118750, 46121250, 46123750, 46126250,
    46128750, 46131250, 46133750, 46136250, 46276250, 46278750, 46281250, 46283750, 46286250,
    46288750, 46291250, 46448750, 46451250, 46453750, 46456250, 46603750, 46606250, 46608750,
    46611250, 46613750, 46616250, 46618750, 46621250, 46623750, 46626250, 46628750, 46631250,
    46633750, 46636250, 46778750, 46783750, 46786250, 46788750, 46791250, 46948750, 46951250,
    46953750, 46956250, 46218750, 46246250, 46248750, 46251250, 46718750, 46746250, 46748750,
    46751250, 45118750, 45123750, 45128750, 45133750, 45143750, 45153750, 45163750, 45231250,
    45253750, 45241250, 45251250, 45276250, 45286250, 45618750, 45623750, 45628750, 46821250,
    46826250, 46831250, 46836250, 46841250, 46846250, 46851250, 46856250, 46861250, 46866250,
    45633750, 45643750, 45653750, 45663750, 45731250, 45741250, 45751250, 45776250, 45786250};
constexpr std::uint32_t kPresetList22[CodeTables::kPresets22] = {
    46256250, 46258750, 46261250, 46263750, 46266250, 46268750, 46271250, 46756250,
    46758750, 46761250, 46763750, 46766250, 46768750, 46771250, 46255000, 46257500,
    46260000, 46262500, 46265000, 46267500, 46270000, 46272500};

constexpr std::int64_t kFrequencyLimitHz = 999999990;  // eight digits of 10 Hz

std::string QtText(std::uint16_t word, std::string_view sep) {
    std::string text = std::to_string(word / 10);
    text += sep;
    text += static_cast<char>('0' + word % 10);
    return text;
}

std::string DqtText(std::uint16_t word) {
    std::string text = "D";
    const unsigned code = word & 0x1FF;
    text += static_cast<char>('0' + ((code >> 6) & 7));
    text += static_cast<char>('0' + ((code >> 3) & 7));
    text += static_cast<char>('0' + (code & 7));
    text += (word & 0x8000) ? 'I' : 'N';
    return text;
}

std::string Line(const char* format, int number, const std::string& text) {
    return FormatText(format, {number, text});
}

// What a fixed-list slot holds.
enum class SlotKind { None, Qt, CustomQt, Dqt, CustomDqt };
struct SlotInfo {
    SlotKind kind = SlotKind::None;
    std::uint16_t word = kCodeOff;
    int custom = 0;  // 1-6
};

SlotInfo FixedSlot(int slot) {
    SlotInfo s;
    if (slot >= 1 && slot <= 38) {
        s.kind = SlotKind::Qt;
        s.word = kQtTones[slot == 1 ? 0 : slot];  // the list without 69.3
    } else if (slot == 39) {
        s.kind = SlotKind::Qt;
        s.word = kQtTones[1];
    } else if (slot >= 40 && slot <= 45) {
        s.kind = SlotKind::CustomQt;
        s.custom = slot - 39;
    } else if (slot >= 46 && slot <= 129) {
        s.kind = SlotKind::Dqt;
        s.word = static_cast<std::uint16_t>(kDqtNormal + kDqtCodes[slot - 46]);
    } else if (slot >= 130 && slot <= 213) {
        s.kind = SlotKind::Dqt;
        s.word = static_cast<std::uint16_t>(kDqtInverted + kDqtCodes[slot - 130]);
    } else if (slot >= 214 && slot <= 219) {
        s.kind = SlotKind::CustomDqt;
        s.custom = slot - 213;
    }
    return s;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

CodeTables::CodeTables(const ModelCatalogue& catalogue, const LanguageTable& language)
    : catalogue_(catalogue), language_(language) {}

std::string CodeTables::OffText() const { return language_.TextString(tid::kCodeOff); }
std::string CodeTables::NoneText() const { return language_.TextString(tid::kCodeNone); }

// ---------------------------------------------------------------------------
// Numbers and texts

std::string CodeTables::ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty() || from == to) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

double CodeTables::ReadNumber(std::string_view text, std::string_view sep) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    bool digits = false;
    bool point = false;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
            ++i;
        } else if (!point && (c == '.' || (!sep.empty() && text.substr(i, sep.size()) == sep))) {
            number += '.';
            point = true;
            i += c == '.' ? 1 : sep.size();
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    // An exponent counts only when digits follow it.
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        const std::size_t first = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9' && j - first < 6) exponent += text[j++];
        if (j > first) number += exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc()) {
        // Out of range: as large (or as small) as a double goes.
        if (result.ec == std::errc::result_out_of_range) {
            const bool negative = number[0] == '-';
            const bool tiny = number.find("e-") != std::string::npos;
            if (tiny) return 0.0;
            return negative ? -HUGE_VAL : HUGE_VAL;
        }
        return 0.0;
    }
    return value;
}

std::string CodeTables::FormatFixed(double value, int decimals) {
    std::array<char, 512> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return {};
    return std::string(buf.data(), r.ptr);
}

// ---------------------------------------------------------------------------
// Frequencies

std::string CodeTables::FrequencyToText(FrequencyCode code, std::string_view sep) {
    if (code == kBlankFrequency) return {};
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits(8, '0');
    for (int i = 0; i < 8; ++i) digits[i] = kDigits[(code >> (28 - 4 * i)) & 0xF];
    std::string text = digits.substr(0, 3);
    text += sep;
    text += digits.substr(3);
    if (text[0] == '0') text.erase(0, 1);
    return text;
}

std::int64_t CodeTables::FrequencyToHz(FrequencyCode code) {
    if (code == kBlankFrequency) return -1;
    std::int64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        const unsigned digit = (code >> (28 - 4 * i)) & 0xF;
        if (digit > 9) return -1;
        value = value * 10 + digit;
    }
    return value * 10;
}

FrequencyCode CodeTables::HzToFrequency(std::int64_t hz) {
    if (hz < 0 || hz > kFrequencyLimitHz) return kBlankFrequency;
    std::int64_t units = hz / 10;
    FrequencyCode code = 0;
    for (int i = 0; i < 8; ++i) {
        code |= static_cast<FrequencyCode>(units % 10) << (4 * i);
        units /= 10;
    }
    return code;
}

namespace {
// The value in whole hertz, saturated well outside any band.
std::int64_t RoundToHz(double mhz) {
    if (!(mhz < 1.0e6)) return static_cast<std::int64_t>(1.0e12);
    if (!(mhz > -1.0e6)) return static_cast<std::int64_t>(-1.0e12);
    return std::llround(mhz * 1.0e6);
}
}  // namespace

bool CodeTables::BandCheck(std::string& text) const {
    if (text.empty()) return true;
    const double value = ReadNumber(text);
    const BandLimits& limits = catalogue_.CurrentBandLimits();
    const std::int64_t hz = RoundToHz(value);
    if (hz > RoundToHz(limits.upperMHz)) {
        text = FormatFixed(limits.upperMHz, 6);
        return false;
    }
    if (hz < RoundToHz(limits.lowerMHz)) {
        text = FormatFixed(limits.lowerMHz, 6);
        return false;
    }
    text = FormatFixed(value, 6);
    return true;
}

bool CodeTables::ExclusionCheck(std::string& text) {
    const double value = ReadNumber(text);
    const std::int64_t hz = RoundToHz(value);
    if (hz >= 446000000 && hz < 446200000) {
        text = FormatFixed(445.995, 6);
        return false;
    }
    if (hz == 446200000) {
        text = FormatFixed(446.205, 6);
        return false;
    }
    text = FormatFixed(value, 6);
    return true;
}

std::optional<ParsedFrequency> CodeTables::ParseFrequency(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const double value = ReadNumber(text);
    if (!std::isfinite(value) || value <= 0.0 || value >= 1000.0) return std::nullopt;
    std::int64_t hz = std::llround(value * 1.0e6);
    if (hz <= 0 || hz > kFrequencyLimitHz) return std::nullopt;
    ParsedFrequency result;
    if (hz % 6250 == 0) {
        result.step = kStep6250;
    } else if (hz % 5000 == 0) {
        result.step = kStep5000;
    } else {
        hz -= hz % 5000;
        result.step = hz % 6250 == 0 ? kStep6250 : kStep5000;
    }
    if (hz <= 0) return std::nullopt;
    result.code = HzToFrequency(hz);
    return result;
}

bool CodeTables::IsReserved(FrequencyCode code) const {
    const std::int64_t hz = FrequencyToHz(code);
    if (hz < 0) return false;
    for (std::int64_t reserved : ModelCatalogue::ReservedFrequenciesHz(catalogue_.MarketClass()))
        if (reserved == hz) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Code words

std::string CodeTables::CodeWordToText(std::uint16_t word, std::string_view sep) const {
    if (word == kCodeOff) return OffText();
    if (word & 0x2000) return DqtText(word);
    return QtText(word, sep);
}

std::uint16_t CodeTables::CodeWordFromText(std::string_view text, std::string_view sep) const {
    const std::string off = OffText();
    const std::string none = NoneText();
    if ((!off.empty() && text == off) || (!none.empty() && text == none)) return kCodeOff;
    if (!text.empty() && (text[0] == 'D' || text[0] == 'd')) {
        unsigned code = 0;
        for (std::size_t i = 1; i <= 3; ++i) {
            char c = i < text.size() ? text[i] : '0';
            if (c < '0') c = '0';
            if (c > '7') c = '7';
            code = code * 8 + static_cast<unsigned>(c - '0');
        }
        const bool inverted = text.size() > 4 && (text[4] == 'I' || text[4] == 'i');
        return static_cast<std::uint16_t>((inverted ? kDqtInverted : kDqtNormal) + code);
    }
    const double tenths = ReadNumber(text, sep) * 10.0;
    if (!(tenths >= kQtLowestTenths)) return kQtLowestTenths;
    if (tenths > kQtHighestTenths) return kQtHighestTenths;
    // The fraction is cut off; the small allowance keeps a typed 67.3 from
    // reading as 672.99999.
    return static_cast<std::uint16_t>(tenths + 1e-7);
}

// ---------------------------------------------------------------------------
// Preset lists

int CodeTables::PresetCount() const {
    const EntryMode mode = catalogue_.EntryMode();
    return mode == EntryMode::List99 ? kPresets99 : mode == EntryMode::List22 ? kPresets22 : 0;
}

FrequencyCode CodeTables::PresetFrequency(EntryMode entryMode, int entry) {
    if (entryMode == EntryMode::List99 && entry >= 1 && entry <= kPresets99)
        return HzToFrequency(static_cast<std::int64_t>(kPresetList99[entry - 1]) * 10);
    if (entryMode == EntryMode::List22 && entry >= 1 && entry <= kPresets22)
        return HzToFrequency(static_cast<std::int64_t>(kPresetList22[entry - 1]) * 10);
    return kBlankFrequency;
}

FrequencyCode CodeTables::PresetFrequency(int entry) const {
    return PresetFrequency(catalogue_.EntryMode(), entry);
}

std::string CodeTables::PresetText(int entry, std::string_view sep) const {
    const FrequencyCode code = PresetFrequency(entry);
    return code == kBlankFrequency ? NoneText() : FrequencyToText(code, sep);
}

std::vector<std::string> CodeTables::PresetList(std::string_view sep) const {
    std::vector<std::string> lines;
    lines.push_back(Line("(%02d)  %s", 0, NoneText()));
    for (int e = 1; e <= PresetCount(); ++e) lines.push_back(Line("(%02d)  %s", e, PresetText(e, sep)));
    return lines;
}

int CodeTables::PresetNumber(std::string_view text, std::string_view sep) const {
    if (text.empty()) return 0;
    const std::string wanted = ReplaceAll(text, sep, ".");
    for (int e = 1; e <= PresetCount(); ++e)
        if (FrequencyToText(PresetFrequency(e), ".") == wanted) return e;
    return 0;
}

std::string CodeTables::PresetLine(std::string_view text, std::string_view sep) const {
    if (text.empty()) return Line("(%02d)  %s", 0, NoneText());
    const int e = PresetNumber(text, sep);
    if (e == 0) return {};
    return Line("(%02d)  %s", e, PresetText(e, sep));
}

// ---------------------------------------------------------------------------
// Code lists

std::uint16_t CodeTables::TypedCodeWord(int entry) {
    if (entry >= 1 && entry <= kQtCount) return kQtTones[entry - 1];
    if (entry > kQtCount && entry <= kQtCount + kDqtTypedCount)
        return static_cast<std::uint16_t>(kDqtNormal + kDqtCodes[entry - kQtCount - 1]);
    if (entry > kQtCount + kDqtTypedCount && entry < kTypedCodeCount)
        return static_cast<std::uint16_t>(kDqtInverted + kDqtCodes[entry - kQtCount - kDqtTypedCount - 1]);
    return kCodeOff;
}

std::string CodeTables::TypedCodeText(int entry, std::string_view sep) const {
    if (entry == 0) return OffText();
    if (entry < 0 || entry >= kTypedCodeCount) return {};
    return CodeWordToText(TypedCodeWord(entry), sep);
}

std::vector<std::string> CodeTables::TypedCodeList(std::string_view sep) const {
    std::vector<std::string> lines;
    lines.reserve(kTypedCodeCount);
    for (int e = 0; e < kTypedCodeCount; ++e) lines.push_back(TypedCodeText(e, sep));
    return lines;
}

std::uint16_t CodeTables::FixedSlotWord(int slot) {
    const SlotInfo s = FixedSlot(slot);
    return s.kind == SlotKind::Qt || s.kind == SlotKind::Dqt ? s.word : kCodeOff;
}

std::string CodeTables::CustomWordText(std::size_t word, std::string_view sep) const {
    return CodeWordToText(catalogue_.Image().Word(kCustomCodeArea.offset + 2 * word), sep);
}

CodeSlot CodeTables::CodeText(int slot, std::string_view sep) const {
    CodeSlot result;
    if (slot == 0) {
        result.text = NoneText();
        return result;
    }
    const SlotInfo s = FixedSlot(slot);
    switch (s.kind) {
        case SlotKind::None: break;
        case SlotKind::Qt:
        case SlotKind::Dqt:
            result.word = s.word;
            result.text = CodeWordToText(s.word, sep);
            break;
        case SlotKind::CustomQt:
        case SlotKind::CustomDqt: {
            const bool qt = s.kind == SlotKind::CustomQt;
            const std::size_t word = (qt ? kCustomQtWord : kCustomDqtWord) + static_cast<std::size_t>(s.custom - 1);
            result.word = catalogue_.Image().Word(kCustomCodeArea.offset + 2 * word);
            result.text = CodeWordToText(result.word, sep);
            result.customEntry = s.custom;
            result.customTable = qt ? 0 : 1;
            break;
        }
    }
    return result;
}

std::vector<std::string> CodeTables::FixedCodeList(std::string_view sep) const {
    std::vector<std::string> lines;
    lines.reserve(kFixedSlotCount);
    lines.push_back(Line("(%03d)  %s", 0, NoneText()));
    for (int slot = 1; slot < kFixedSlotCount; ++slot) {
        const SlotInfo s = FixedSlot(slot);
        switch (s.kind) {
            case SlotKind::None: break;
            case SlotKind::Qt: lines.push_back(Line("(%03d)  %s", slot, CodeWordToText(s.word, sep))); break;
            case SlotKind::Dqt: lines.push_back(Line("(%03d)  %s", slot - 45, CodeWordToText(s.word, sep))); break;
            case SlotKind::CustomQt:
                lines.push_back(FormatText("(%03d)  %s (%s)",
                                           {slot, "QT", CustomWordText(kCustomQtWord + s.custom - 1, sep)}));
                break;
            case SlotKind::CustomDqt:
                lines.push_back(FormatText("(%03d)  %s (%s)",
                                           {slot - 45, "DQT", CustomWordText(kCustomDqtWord + s.custom - 1, sep)}));
                break;
        }
    }
    return lines;
}

std::string CodeTables::CodeLine(std::string_view text, std::string_view sep) const {
    const std::string off = OffText();
    const std::string none = NoneText();
    if ((!off.empty() && text == off) || (!none.empty() && text == none))
        return Line("(%03d)  %s", 0, none);
    const std::string wanted = ReplaceAll(text, sep, ".");
    const std::vector<std::string> lines = FixedCodeList(sep);
    // Line i of the list is slot i (slot 220 is never listed).
    for (int slot = 1; slot < kFixedSlotCount; ++slot) {
        const SlotInfo s = FixedSlot(slot);
        bool match = false;
        if (s.kind == SlotKind::Qt || s.kind == SlotKind::Dqt) {
            match = CodeWordToText(s.word, ".") == wanted;
        } else if (s.kind == SlotKind::CustomQt) {
            match = wanted == "CQT" + std::to_string(s.custom);
        } else if (s.kind == SlotKind::CustomDqt) {
            match = wanted == "CDT" + std::to_string(s.custom);
        }
        if (match) return lines[static_cast<std::size_t>(slot)];
    }
    return {};
}

}  // namespace vrm
