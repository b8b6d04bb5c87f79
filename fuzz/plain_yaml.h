// A second reading of a configuration text, independent of the YAML parser,
// for the plain form an export has and a person writes by hand: nested
// "key: value" lines by indentation, comments, single- or double-quoted
// values without escapes. Line ends are what a person sees in an editor: LF,
// CR LF or a lone CR. A text outside that form (flow or block styles,
// anchors, tags, escapes, tabs, control characters, document markers) is
// not read: nothing is returned, and the fuzz target checks only what the
// import does with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrm::fuzz {

struct PlainField {
    std::string key;    // "channel.3.rx", the dotted path under "fields"
    std::string value;  // the text, "" for an empty or null value
};

// The leaves under the top-level "fields" map, in text order.
std::optional<std::vector<PlainField>> ReadPlainFields(std::string_view text);

}  // namespace vrm::fuzz
