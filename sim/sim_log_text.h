// The simulated radio's log lines: a printf-style format with up to two
// unsigned values ("write 0x%03X %u").
#pragma once

#include <cstdio>
#include <string>

namespace vrm {

inline std::string LogText(const char* fmt, unsigned a, unsigned b = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

}  // namespace vrm
