// --json: a command's answer as one JSON document on stdout, its keys in the
// order the command adds them.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/cli.h"

namespace vrm::cli {

using Json = nlohmann::ordered_json;

// Texts that are not valid UTF-8 (none should be) are written with U+FFFD
// rather than ending the command.
inline void PrintJson(Context& ctx, const Json& document) {
    ctx.out << document.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

}  // namespace vrm::cli
