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

namespace {

// One fault item: its name, whether it takes "=value", and what it sets.
enum class Value { kNone, kRequired, kOptional };
struct FaultItem {
    std::string_view name;
    Value value;
    bool (*apply)(std::string_view value, bool hasValue, SimFaults& out);
};

bool ApplyIdentifyShort(std::string_view value, bool hasValue, SimFaults& out) {
    std::uint32_t n = 47;
    if (!(!hasValue || ParseUnsigned(value, n)) || n >= 48) return false;
    out.identifyLength = static_cast<int>(n);
    return true;
}

bool ApplyModel(std::string_view value, bool, SimFaults& out) {
    if (value.empty() || value.size() > 8) return false;
    std::array<std::uint8_t, 8> key;
    key.fill(0xFF);
    for (std::size_t i = 0; i < value.size(); ++i) key[i] = static_cast<std::uint8_t>(value[i]);
    out.modelName = key;
    return true;
}

bool ApplyIdentity(std::string_view value, bool, SimFaults& out) {
    ModelIdentity id{};
    if (!ParseHexBytes(value, id.data(), id.size())) return false;
    out.identity = id;
    return true;
}

bool ApplySlow(std::string_view value, bool, SimFaults& out) {
    const std::size_t at = value.find('@');
    std::uint32_t ms = 0, step = 1;
    if (!ParseUnsigned(value.substr(0, at), ms)) return false;
    if (at != std::string_view::npos && !(ParseUnsigned(value.substr(at + 1), step) && step > 0)) return false;
    out.slowMs = ms;
    out.slowStep = step;
    return true;
}

bool ApplyPull(std::string_view value, bool, SimFaults& out) {
    std::uint32_t step = 0;
    if (!ParseUnsigned(value, step) || step == 0) return false;
    out.pullStep = step;
    return true;
}

bool AddCommand(std::string_view value, std::vector<std::uint8_t>& list) {
    std::uint8_t command = 0;
    if (!ParseHexBytes(value, &command, 1)) return false;
    list.push_back(command);
    return true;
}

constexpr FaultItem kFaultItems[] = {
    {"program-silent", Value::kNone, [](std::string_view, bool, SimFaults& f) { return f.programSilent = true; }},
    {"program-nak", Value::kNone, [](std::string_view, bool, SimFaults& f) { return f.programNak = true; }},
    {"identify-short", Value::kOptional, ApplyIdentifyShort},
    {"model", Value::kRequired, ApplyModel},
    {"identity", Value::kRequired, ApplyIdentity},
    {"read-silent", Value::kRequired,
     [](std::string_view v, bool, SimFaults& f) { return ParseBlock(v, f.readSilentBlock); }},
    {"write-silent", Value::kRequired,
     [](std::string_view v, bool, SimFaults& f) { return ParseBlock(v, f.writeSilentBlock); }},
    {"write-nak", Value::kRequired, [](std::string_view v, bool, SimFaults& f) { return ParseBlock(v, f.writeNakBlock); }},
    {"write-lost", Value::kRequired,
     [](std::string_view v, bool, SimFaults& f) { return ParseBlock(v, f.writeLostBlock); }},
    {"slow", Value::kRequired, ApplySlow},
    {"info-header", Value::kNone, [](std::string_view, bool, SimFaults& f) { return f.infoBadHeader = true; }},
    {"info-checksum", Value::kNone, [](std::string_view, bool, SimFaults& f) { return f.infoBadChecksum = true; }},
    {"pull", Value::kRequired, ApplyPull},
    {"absent", Value::kNone, [](std::string_view, bool, SimFaults& f) { return f.absent = true; }},
    {"signal", Value::kRequired, [](std::string_view v, bool, SimFaults& f) { return ParseSignal(v, f); }},
    {"test-nak", Value::kRequired, [](std::string_view v, bool, SimFaults& f) { return AddCommand(v, f.testNak); }},
    {"off-nak", Value::kRequired, [](std::string_view v, bool, SimFaults& f) { return AddCommand(v, f.offNak); }},
};

bool ApplyFaultItem(std::string_view item, SimFaults& out) {
    const std::size_t eq = item.find('=');
    const std::string_view name = item.substr(0, eq);
    const bool hasValue = eq != std::string_view::npos;
    const std::string_view value = hasValue ? item.substr(eq + 1) : std::string_view();
    for (const FaultItem& f : kFaultItems) {
        if (f.name != name) continue;
        if ((f.value == Value::kNone && hasValue) || (f.value == Value::kRequired && !hasValue)) return false;
        return f.apply(value, hasValue, out);
    }
    return false;
}

}  // namespace

bool ParseSimFaults(std::string_view text, SimFaults& out, std::string* error) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of(", \t\n", pos);
        const std::string_view item = text.substr(pos, end == std::string_view::npos ? text.size() - pos : end - pos);
        pos = end == std::string_view::npos ? text.size() : end + 1;
        if (item.empty() || ApplyFaultItem(item, out)) continue;
        if (error) *error = std::string(item);
        return false;
    }
    return true;
}

}  // namespace vrm
