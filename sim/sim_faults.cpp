#include "sim/sim_faults.h"

#include <charconv>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

namespace vrm {

namespace {

bool ParseUnsigned(std::string_view text, std::uint32_t& out) {
    if (text.empty()) return false;
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

bool ParseBlock(std::string_view text, int& out) {
    std::uint32_t v = 0;
    if (!ParseUnsigned(text, v) || v > 63) return false;
    out = static_cast<int>(v);
    return true;
}

// "TERM", "SIGTERM" or a number; 0 when it names no signal.
int SignalNumber(std::string_view name) {
    if (name.substr(0, 3) == "SIG") name.remove_prefix(3);
    std::uint32_t n = 0;
    if (ParseUnsigned(name, n)) return n > 0 && n < NSIG ? static_cast<int>(n) : 0;
    for (int s = 1; s < NSIG; ++s) {
        const char* abbrev = sigabbrev_np(s);
        if (abbrev && name == abbrev) return s;
    }
    return 0;
}

// "NAME@N" or "NAME@S:N".
bool ParseSignal(std::string_view value, SimFaults& out) {
    const std::size_t at = value.find('@');
    if (at == std::string_view::npos) return false;
    const int signal = SignalNumber(value.substr(0, at));
    std::string_view where = value.substr(at + 1);
    std::uint32_t session = 1, step = 0;
    if (const std::size_t colon = where.find(':'); colon != std::string_view::npos) {
        if (!ParseUnsigned(where.substr(0, colon), session) || session == 0) return false;
        where.remove_prefix(colon + 1);
    }
    if (signal == 0 || !ParseUnsigned(where, step) || step == 0) return false;
    out.signal = signal;
    out.signalSession = session;
    out.signalStep = step;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ParseHexBytes(std::string_view text, std::uint8_t* out, std::size_t size) {
    std::vector<std::uint8_t> bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (high >= 0) return false;  // a blank inside a byte
            continue;
        }
        const int d = HexDigit(c);
        if (d < 0) return false;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + d));
            high = -1;
        }
    }
    if (high >= 0 || bytes.size() != size) return false;
    for (std::size_t i = 0; i < size; ++i) out[i] = bytes[i];
    return true;
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t size) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        s += kDigits[bytes[i] >> 4];
        s += kDigits[bytes[i] & 15];
    }
    return s;
}

bool ParseSimFaults(std::string_view text, SimFaults& out, std::string* error) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(", \t\n", pos);
        const std::string_view item = text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (item.empty()) continue;

        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view() : item.substr(eq + 1);
        const bool hasValue = eq != std::string_view::npos;
        bool ok = true;

        if (name == "program-silent" && !hasValue) {
            out.programSilent = true;
        } else if (name == "program-nak" && !hasValue) {
            out.programNak = true;
        } else if (name == "identify-short") {
            std::uint32_t n = 47;
            ok = (!hasValue || ParseUnsigned(value, n)) && n < 48;
            if (ok) out.identifyLength = static_cast<int>(n);
        } else if (name == "model" && hasValue) {
            ok = !value.empty() && value.size() <= 8;
            if (ok) {
                std::array<std::uint8_t, 8> key;
                key.fill(0xFF);
                for (std::size_t i = 0; i < value.size(); ++i) key[i] = static_cast<std::uint8_t>(value[i]);
                out.modelName = key;
            }
        } else if (name == "identity" && hasValue) {
            ModelIdentity id{};
            ok = ParseHexBytes(value, id.data(), id.size());
            if (ok) out.identity = id;
        } else if (name == "read-silent" && hasValue) {
            ok = ParseBlock(value, out.readSilentBlock);
        } else if (name == "write-silent" && hasValue) {
            ok = ParseBlock(value, out.writeSilentBlock);
        } else if (name == "write-nak" && hasValue) {
            ok = ParseBlock(value, out.writeNakBlock);
        } else if (name == "write-lost" && hasValue) {
            ok = ParseBlock(value, out.writeLostBlock);
        } else if (name == "slow" && hasValue) {
            const std::size_t at = value.find('@');
            std::uint32_t ms = 0, step = 1;
            ok = ParseUnsigned(value.substr(0, at), ms) &&
                 (at == std::string_view::npos || (ParseUnsigned(value.substr(at + 1), step) && step > 0));
            if (ok) {
                out.slowMs = ms;
                out.slowStep = step;
            }
        } else if (name == "info-header" && !hasValue) {
            out.infoBadHeader = true;
        } else if (name == "info-checksum" && !hasValue) {
            out.infoBadChecksum = true;
        } else if (name == "pull" && hasValue) {
            std::uint32_t step = 0;
            ok = ParseUnsigned(value, step) && step > 0;
            if (ok) out.pullStep = step;
        } else if (name == "signal" && hasValue) {
            ok = ParseSignal(value, out);
        } else if ((name == "test-nak" || name == "off-nak") && hasValue) {
            std::uint8_t command = 0;
            ok = ParseHexBytes(value, &command, 1);
            if (ok) (name == "test-nak" ? out.testNak : out.offNak).push_back(command);
        } else {
            ok = false;
        }
        if (!ok) {
            if (error) *error = std::string(item);
            return false;
        }
    }
    return true;
}

}  // namespace vrm
