// What the export and the import of the channel CSV share: the texts of
// frequencies and steps in the CSV's terms and the defaults of unused columns.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrm {

// The tone and code other programs write into the columns a channel does not
// use.
inline constexpr const char* kDefaultTone = "88.5";
inline constexpr const char* kDefaultDtcs = "023";

// Hertz as MHz with six decimals ("462.562500"); "" for a negative value.
std::string MHzText(std::int64_t hz);
// A step code as kHz ("2.50", "5.00", "6.25").
std::string StepText(int stepCode);
// A decimal MHz text ("446.00625", " 146.52 ") in whole hertz; nothing when it
// is no plain decimal number or too large.
std::optional<std::int64_t> ParseMHz(std::string_view text);

}  // namespace vrm
