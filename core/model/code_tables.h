// Frequency codes and QT/DQT code words as the editors show them, and back;
// the preset frequency lists of the fixed-list models; the two code lists.
//
// Texts shown to the user take the user's decimal separator as a parameter;
// texts that are stored or compared use ".". Numbers are read and written
// without the C locale, so the program's locale never changes a stored text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"

namespace vrm {

class LanguageTable;
class ModelCatalogue;

// Step codes stored beside every frequency.
inline constexpr int kStep2500 = 0;
inline constexpr int kStep5000 = 1;
inline constexpr int kStep6250 = 2;

struct ParsedFrequency {
    FrequencyCode code = kBlankFrequency;
    int step = 0;
    bool operator==(const ParsedFrequency&) const = default;
};

// What a slot of the fixed-list code list stands for.
struct CodeSlot {
    std::string text;            // "88.5", "D023N", or the custom word's text
    std::uint16_t word = kCodeOff;
    int customEntry = 0;         // 1-6 for CQTn/CDTn, else 0
    int customTable = -1;        // 0 QT, 1 DQT, -1 not a custom slot
};

class CodeTables {
public:
    static constexpr int kPresets99 = 99;
    static constexpr int kPresets22 = 22;
    static constexpr int kTypedCodeCount = 206;   // entries 0-205
    static constexpr int kFixedSlotCount = 220;   // slots 0-219 listed, 220 never
    static constexpr int kFirstCustomQtSlot = 40;
    static constexpr int kFirstCustomDqtSlot = 214;

    // The catalogue answers the current model's questions (entry mode, band
    // limits, market class); the image supplies the custom code words; the
    // language table the texts 10300001 (off) and 10300003 (none).
    CodeTables(const ModelCatalogue& catalogue, const LanguageTable& language);

    // ---- Frequencies --------------------------------------------------
    // "462.56250" with the separator after the third digit; a leading zero
    // digit is dropped. A blank code gives "".
    static std::string FrequencyToText(FrequencyCode code, std::string_view decimalSeparator);
    // The frequency in whole hertz, or -1 for a blank or non-decimal code.
    static std::int64_t FrequencyToHz(FrequencyCode code);
    // The code of a frequency given in hertz (rounded down to 10 Hz); blank
    // when it does not fit eight digits.
    static FrequencyCode HzToFrequency(std::int64_t hz);

    // Clamps `text` into the current band limits and rewrites it as "%.6f".
    // Returns false when the value was outside (and has been clamped). An
    // empty text is valid and stays empty.
    bool BandCheck(std::string& text) const;
    // 446.0 up to 446.2 MHz becomes 445.995, exactly 446.2 becomes 446.205
    // (both not valid); the text is rewritten as "%.6f".
    static bool ExclusionCheck(std::string& text);
    // The frequency parser: the code and its step code (6.25 kHz before
    // 5 kHz; a value on neither grid is cut down to 5 kHz first). Nothing for
    // an empty text, 0, a text that is not a number, a negative value or one
    // that does not fit the eight digits.
    static std::optional<ParsedFrequency> ParseFrequency(std::string_view text);
    // True when the frequency is one of the current market class's reserved
    // receive frequencies (compared in whole hertz).
    bool IsReserved(FrequencyCode code) const;

    // ---- QT/DQT code words -------------------------------------------
    // The QT tones a code word takes, in 0.1 Hz.
    static constexpr std::uint16_t kQtLowestTenths = 670;
    static constexpr std::uint16_t kQtHighestTenths = 2541;
    // Off -> text 10300001; QT "88.5"; DQT "D023N" / "D023I".
    std::string CodeWordToText(std::uint16_t word, std::string_view decimalSeparator = ".") const;
    // Texts 10300001 and 10300003 are off; "D..." a DQT code (digits clamped
    // into 0-7, polarity N unless the fifth character is I); anything else a
    // QT tone clamped into 67.0-254.1 Hz.
    std::uint16_t CodeWordFromText(std::string_view text, std::string_view decimalSeparator = ".") const;

    // ---- Preset frequency lists (current entry mode) -----------------
    // The list lines "(%02d)  %s": line 0 is text 10300003, then the 99 or 22
    // presets; a typed-frequency model has only line 0.
    std::vector<std::string> PresetList(std::string_view decimalSeparator) const;
    int PresetCount() const;  // 99, 22 or 0
    // The preset's frequency text; text 10300003 for 0 or beyond the list.
    std::string PresetText(int entry, std::string_view decimalSeparator) const;
    // The number of the preset whose text matches; 0 when none or empty.
    int PresetNumber(std::string_view text, std::string_view decimalSeparator = ".") const;
    // The list line of the matching preset; line 0 for an empty text; "" when
    // nothing matches.
    std::string PresetLine(std::string_view text, std::string_view decimalSeparator) const;
    // The preset's frequency code (blank for 0 or beyond the list).
    FrequencyCode PresetFrequency(int entry) const;
    static FrequencyCode PresetFrequency(EntryMode entryMode, int entry);

    // ---- Code lists ----------------------------------------------------
    // Typed-frequency models: entry 0 off (text 10300001), 1-39 QT, 40-122
    // DQT normal, 123-205 DQT inverted.
    std::vector<std::string> TypedCodeList(std::string_view decimalSeparator) const;
    std::string TypedCodeText(int entry, std::string_view decimalSeparator) const;
    static std::uint16_t TypedCodeWord(int entry);  // off for 0 or out of range

    // Fixed-list models: the lines of slots 0-219 ("(%03d)  %s", custom slots
    // "(%03d)  %s (%s)" with the custom word's text), drawn from the image's
    // custom code area.
    std::vector<std::string> FixedCodeList(std::string_view decimalSeparator) const;
    // The line of the entry whose text matches ("CQT1".."CDT6" by name), line
    // 0 for the off texts; "" when nothing matches.
    std::string CodeLine(std::string_view text, std::string_view decimalSeparator) const;
    // The slot's text and word; for a custom slot the custom word it points to
    // and which entry and table it was. Slot 0 is text 10300003 (off); slots
    // out of range give an empty text.
    CodeSlot CodeText(int slot, std::string_view decimalSeparator = ".") const;
    // The fixed code word of a non-custom slot (off for 0, custom slots and
    // slots out of range).
    static std::uint16_t FixedSlotWord(int slot);

    // The texts 10300001 and 10300003.
    std::string OffText() const;
    std::string NoneText() const;

    // Reads a decimal number as strtod would in the C locale, with "." or the
    // given separator: leading blanks, a sign, as many digits as there are.
    // A text that is not a number reads as 0.
    static double ReadNumber(std::string_view text, std::string_view decimalSeparator = ".");
    // "%.6f" without the C locale.
    static std::string FormatFixed(double value, int decimals);
    // `text` with every `from` replaced by `to`.
    static std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

private:
    std::string CustomWordText(std::size_t word, std::string_view decimalSeparator) const;

    const ModelCatalogue& catalogue_;
    const LanguageTable& language_;
};

}  // namespace vrm
