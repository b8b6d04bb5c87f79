#include "sim/sim_state.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vrm {

namespace {

std::string Trim(std::string_view s) {
    const std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    const std::size_t e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

template <std::size_t N>
bool Hex(const std::string& value, std::array<std::uint8_t, N>& out) {
    return ParseHexBytes(value, out.data(), N);
}

bool HexNumber(std::string_view text, unsigned max, unsigned& out) {
    if (text.empty()) return false;
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (ec != std::errc() || end != text.data() + text.size() || v > max) return false;
    out = v;
    return true;
}

std::string Hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}

}  // namespace

std::string FormatSimState(const SimulatedRadio& radio) {
    std::ostringstream os;
    os << "# VRM-650T simulated radio; change it with: vrm650t-cli sim set\n";
    os << "format 1\n";
    os << "identification " << HexBytes(radio.Identification().data(), radio.Identification().size()) << "\n";
    os << "information " << HexBytes(radio.Information().data(), radio.Information().size()) << "\n";
    os << "version " << HexBytes(radio.Version().data(), radio.Version().size()) << "\n";
    os << "boot-version " << HexBytes(radio.BootVersion().data(), radio.BootVersion().size()) << "\n";
    os << "tuning " << HexBytes(radio.Tuning().data(), radio.Tuning().size()) << "\n";
    os << "reference-tuning " << HexBytes(radio.ReferenceTuning().data(), radio.ReferenceTuning().size()) << "\n";
    os << "reference-stored " << (radio.ReferenceStored() ? 1 : 0) << "\n";
    os << "volume " << static_cast<unsigned>(radio.Volume()) << "\n";
    os << "word " << Hex4(radio.VcoWord()) << "\n";
    os << "checksum " << (radio.ChecksumOverride() ? Hex4(*radio.ChecksumOverride()) : std::string("auto")) << "\n";
    for (const auto& [cmd, value] : radio.ExtraPoints()) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "point %02X %04X\n", cmd, value);
        os << buf;
    }
    for (std::size_t a = 0; a < kImageSize; a += 16) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "memory %03zX ", a);
        os << buf << HexBytes(radio.Memory().data() + a, 16) << "\n";
    }
    for (const std::string& line : radio.Log()) os << "log " << line << "\n";
    return os.str();
}

namespace {

// The state file's keys, each with what its value sets in the radio.
struct StateKey {
    std::string_view key;
    bool (*apply)(const std::string& value, SimulatedRadio& radio);
};

bool ApplyIdentification(const std::string& value, SimulatedRadio& radio) {
    if (!Hex(value, radio.Identification())) return false;
    std::copy_n(radio.Identification().begin(), kIdentitySize, radio.Memory().begin());
    return true;
}

bool ApplyReferenceStored(const std::string& value, SimulatedRadio& radio) {
    if (value != "0" && value != "1") return false;
    radio.SetReferenceStored(value == "1");
    return true;
}

bool ApplyVolume(const std::string& value, SimulatedRadio& radio) {
    unsigned v = 0;
    if (!HexNumber(value, SimulatedRadio::kMaxVolume, v)) return false;
    radio.SetVolume(static_cast<std::uint8_t>(v));
    return true;
}

bool ApplyWord(const std::string& value, SimulatedRadio& radio) {
    unsigned v = 0;
    if (!HexNumber(value, 0xFFFF, v)) return false;
    radio.SetVcoWord(static_cast<std::uint16_t>(v));
    return true;
}

bool ApplyChecksum(const std::string& value, SimulatedRadio& radio) {
    unsigned v = 0;
    if (value == "auto") radio.SetChecksumOverride(std::nullopt);
    else if (HexNumber(value, 0xFFFF, v)) radio.SetChecksumOverride(static_cast<std::uint16_t>(v));
    else return false;
    return true;
}

bool ApplyPoint(const std::string& value, SimulatedRadio& radio) {
    const std::size_t s2 = value.find(' ');
    unsigned cmd = 0, v = 0;
    if (s2 == std::string::npos || !HexNumber(value.substr(0, s2), 0xFF, cmd) ||
        !HexNumber(Trim(std::string_view(value).substr(s2)), 0xFFFF, v) ||
        !SimulatedRadio::IsPoint(static_cast<std::uint8_t>(cmd)))
        return false;
    // A point that adjusts a tuning byte keeps its value in the tuning line:
    // a line of an older state file does not undo it.
    if (!SimulatedRadio::AdjustsTuningByte(static_cast<std::uint8_t>(cmd)))
        radio.SetPointValue(static_cast<std::uint8_t>(cmd), static_cast<std::uint16_t>(v));
    return true;
}

bool ApplyMemory(const std::string& value, SimulatedRadio& radio) {
    const std::size_t s2 = value.find(' ');
    unsigned address = 0;
    return s2 != std::string::npos && HexNumber(value.substr(0, s2), kImageSize - 16, address) && address % 16 == 0 &&
           ParseHexBytes(Trim(std::string_view(value).substr(s2)), radio.Memory().data() + address, 16);
}

constexpr StateKey kStateKeys[] = {
    {"format", [](const std::string& v, SimulatedRadio&) { return v == "1"; }},
    {"identification", ApplyIdentification},
    {"information", [](const std::string& v, SimulatedRadio& r) { return Hex(v, r.Information()); }},
    {"version", [](const std::string& v, SimulatedRadio& r) { return Hex(v, r.Version()); }},
    {"boot-version", [](const std::string& v, SimulatedRadio& r) { return Hex(v, r.BootVersion()); }},
    {"tuning", [](const std::string& v, SimulatedRadio& r) { return Hex(v, r.Tuning()); }},
    {"reference-tuning", [](const std::string& v, SimulatedRadio& r) { return Hex(v, r.ReferenceTuning()); }},
    {"reference-stored", ApplyReferenceStored},
    {"volume", ApplyVolume},
    {"word", ApplyWord},
    {"checksum", ApplyChecksum},
    {"point", ApplyPoint},
    {"memory", ApplyMemory},
};

const StateKey* FindStateKey(std::string_view key) {
    for (const StateKey& k : kStateKeys)
        if (k.key == key) return &k;
    return nullptr;
}

}  // namespace

bool ParseSimState(std::string_view text, SimulatedRadio& radio, std::string* error) {
    radio.ResetToDefaults();
    std::vector<std::string> log;
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    auto fail = [&](const std::string& what) {
        if (error) *error = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string_view raw = text.substr(pos, nl == std::string_view::npos ? text.size() - pos : nl - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        ++lineNo;
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t sp = line.find_first_of(" \t");
        const std::string key = line.substr(0, sp);
        std::string value = sp == std::string::npos ? std::string() : Trim(std::string_view(line).substr(sp));
        if (key == "log") {
            log.push_back(std::move(value));
            continue;
        }
        const StateKey* known = FindStateKey(key);
        if (!known) return fail("unknown key '" + key + "'");
        if (!known->apply(value, radio)) return fail("bad value for '" + key + "'");
    }
    radio.ClearLog();
    for (std::string& l : log) radio.AppendLog(std::move(l));
    (void)radio.TakeChanged();
    return true;
}

std::string DefaultSimStatePath() { return SimStatePaths().front(); }

std::vector<std::string> SimStatePaths() {
    std::vector<std::string> paths;
    if (const char* env = std::getenv("VRM650T_SIM_STATE"); env && *env) {
        const std::string text = env;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t colon = std::min(text.find(':', start), text.size());
            if (colon > start) paths.push_back(text.substr(start, colon - start));
            start = colon + 1;
        }
        std::error_code ec;
        if (paths.size() == 1 && std::filesystem::is_directory(paths.front(), ec)) {
            const std::string folder = paths.front();
            paths.clear();
            for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
                if (entry.path().extension() == ".state") paths.push_back(entry.path().string());
            std::sort(paths.begin(), paths.end());
            if (paths.empty()) paths.push_back(folder + "/sim-radio.state");
        }
        if (!paths.empty()) return paths;
    }
    std::string base;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg) base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.local/state";
    else base = "/tmp";
    paths.push_back(base + "/vrm650t/sim-radio.state");
    return paths;
}

bool LoadSimState(const std::string& path, SimulatedRadio& radio, std::string* error, bool* missing) {
    if (missing) *missing = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (missing) *missing = errno == ENOENT;
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    std::string parseError;
    if (!ParseSimState(buf.str(), radio, &parseError)) {
        if (error) *error = path + ": " + parseError;
        return false;
    }
    return true;
}

bool SaveSimState(const std::string& path, const SimulatedRadio& radio, std::string* error) {
    const std::string text = FormatSimState(radio);
    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        if (error) *error = path + ": " + std::strerror(errno);
        return false;
    }
    ::fchmod(fd, 0644);
    std::size_t done = 0;
    bool ok = true;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    const int savedErrno = errno;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(tmpl.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) {
        if (error) *error = path + ": " + std::strerror(savedErrno ? savedErrno : errno);
        ::unlink(tmpl.c_str());
        return false;
    }
    return true;
}

bool LoadOrCreateSimState(const std::string& path, SimulatedRadio& radio, std::string* error) {
    bool missing = false;
    if (LoadSimState(path, radio, error, &missing)) return true;
    if (!missing) return false;
    // A missing folder is not made: the save below says it is missing.
    radio.ResetToDefaults();
    (void)radio.TakeChanged();
    return SaveSimState(path, radio, error);
}

std::string SimUnpluggedMarker(const std::string& path) { return path + ".unplugged"; }

bool SimRadioUnplugged(const std::string& path) { return ::access(SimUnpluggedMarker(path).c_str(), F_OK) == 0; }

bool SetSimRadioPlugged(const std::string& path, bool plugged, std::string* error) {
    const std::string marker = SimUnpluggedMarker(path);
    if (plugged) {
        if (::unlink(marker.c_str()) == 0 || errno == ENOENT) return true;
    } else {
        const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    if (error) *error = marker + ": " + std::strerror(errno);
    return false;
}

}  // namespace vrm
