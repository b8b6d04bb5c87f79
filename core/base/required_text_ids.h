// The text IDs every language file must carry, kept as a short table of
// ranges, and the compact "first-last" form used to list sets of IDs.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vrm {

struct TextIdRange {
    std::uint32_t first;
    std::uint32_t last;  // inclusive
};

// The required IDs as ascending, non-overlapping ranges.
std::span<const TextIdRange> RequiredTextIdRanges();

// Number of required IDs (the sum of the ranges' lengths).
std::size_t RequiredTextIdCount();

// Ascending IDs as a list of ranges, e.g. {1, 2, 3, 7} gives "1-3, 7".
std::string CompactIdList(const std::vector<std::uint32_t>& ascendingIds);

}  // namespace vrm
