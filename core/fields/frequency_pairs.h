// Frequency pairs: the test frequencies and the band points are pairs of
// frequency codes (frequency 0, frequency 1) with their step codes in one
// byte a pair (frequency 0 in the high nibble, frequency 1 in the low one).
// Both editors store a typed frequency the same way; what happens to a pair
// that becomes blank is each editor's own rule.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/fields/field.h"
#include "core/model/code_tables.h"

namespace vrm {

struct PairLayout {
    std::size_t base;      // pair p at base + 8p
    std::size_t stepBase;  // its step byte at stepBase + p
};

// Reading the pairs from a const context.
class FrequencyPairReader {
public:
    FrequencyPairReader(const EditContext& ctx, PairLayout layout) : ctx_(ctx), layout_(layout) {}

    FrequencyCode Code(int pair, int which) const;
    bool Blank(int pair, int which) const { return Code(pair, which) == kBlankFrequency; }
    std::string Text(int pair, int which) const;

protected:
    std::size_t At(int pair, int which) const;

    const EditContext& ctx_;
    PairLayout layout_;
};

class FrequencyPairs : public FrequencyPairReader {
public:
    FrequencyPairs(EditContext& ctx, PairLayout layout) : FrequencyPairReader(ctx, layout), edit_(ctx) {}

    void Put(int pair, int which, FrequencyCode code, int step);
    void PutBlank(int pair, int which) { Put(pair, which, kBlankFrequency, 0xF); }

    // Stores a typed text: band-checked (a value outside the band becomes the
    // nearest limit), parsed, and when frequency 0 is given while frequency 1
    // is blank, frequency 1 takes the same code and step. Returns the parsed
    // frequency (nothing for an empty text or 0: the frequency is now blank)
    // and sets `outOfBand`.
    std::optional<ParsedFrequency> Store(int pair, int which, const std::string& typed, bool& outOfBand);

private:
    EditContext& edit_;
};

// The message for a value that was set to the band limit: text 10007015 for
// frequency 0, 10007016 for frequency 1.
tid::TextId OutOfBandMessage(int which);

}  // namespace vrm
