#include "core/document/app_settings.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>

namespace vrm {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One "%i" conversion as the C library reads it: blanks, an optional sign,
// then a decimal, 0x-hex or 0-octal number. Returns false when no digit was
// read. A value beyond int saturates, as strtol does.
bool ReadInteger(std::string_view text, std::size_t& pos, int& value) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    bool anyDigit = false;
    if (pos < text.size() && text[pos] == '0') {
        anyDigit = true;  // "0" alone is a number
        ++pos;
        if (pos + 1 < text.size() && (text[pos] == 'x' || text[pos] == 'X') && HexDigit(text[pos + 1]) >= 0) {
            base = 16;
            ++pos;
        } else {
            base = 8;
        }
    }
    long long magnitude = 0;
    while (pos < text.size()) {
        const int d = HexDigit(text[pos]);
        if (d < 0 || d >= base) break;
        anyDigit = true;
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * base + d;
        ++pos;
    }
    if (!anyDigit) return false;
    long long v = negative ? -magnitude : magnitude;
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    value = static_cast<int>(v);
    return true;
}

// The seven bytes of "Protect" are chained: each is mixed with a key byte
// and with the scrambled byte before it, then rotated.
constexpr std::array<std::uint8_t, 7> kProtectKey = {0x54, 0x72, 0x45, 0x76, 0x4F, 0x6E, 0x41};
constexpr std::uint8_t kProtectSeed = 0x5A;
constexpr std::uint8_t kPad = 0xFF;

std::uint8_t RotateLeft(std::uint8_t v, int n) {
    return static_cast<std::uint8_t>((v << n) | (v >> (8 - n)));
}
std::uint8_t RotateRight(std::uint8_t v, int n) {
    return static_cast<std::uint8_t>((v >> n) | (v << (8 - n)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool EnsureFolder(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return true;
    std::filesystem::create_directory(path, ec);
    return !ec && std::filesystem::is_directory(path, ec);
}

}  // namespace

std::string FormatLastModel(const ModelIdentity& identity) {
    std::string out;
    char buffer[4];
    for (std::size_t i = 0; i < identity.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(identity[i]));
        if (i) out += ':';
        out += buffer;
    }
    return out;
}

std::optional<ModelIdentity> ParseLastModel(std::string_view text) {
    ModelIdentity identity{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < identity.size(); ++i) {
        if (i) {
            if (pos >= text.size() || text[pos] != ':') return std::nullopt;
            ++pos;
        }
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos < text.size() && HexDigit(text[pos]) >= 0) {
            value = value * 16 + HexDigit(text[pos]);
            ++pos;
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        identity[i] = static_cast<std::uint8_t>(value);
    }
    return identity;
}

std::string FormatLastWinPos(const WindowPlacement& p) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", p.flags, p.showCommand, p.minX, p.minY,
                  p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return buffer;
}

std::optional<WindowPlacement> ParseLastWinPos(std::string_view text) {
    WindowPlacement p;
    int* fields[] = {&p.flags, &p.showCommand, &p.minX, &p.minY, &p.maxX,
                     &p.maxY,  &p.left,        &p.top,  &p.right, &p.bottom};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i) {
            if (pos >= text.size() || text[pos] != ':') return std::nullopt;
            ++pos;
        }
        if (!ReadInteger(text, pos, *fields[i])) return std::nullopt;
    }
    return p;
}

WindowPlacement PlacementToStore(WindowPlacement placement, bool minimised) {
    if (minimised) {
        placement.showCommand = (placement.flags & WindowPlacement::kRestoreToMaximized)
                                    ? WindowPlacement::kShowMaximized
                                    : WindowPlacement::kShowNormal;
    }
    return placement;
}

bool IsSecurityPassword(std::string_view text) {
    return !text.empty() && text.size() <= 6 && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string ScrambleProtect(bool programExecution, std::string_view password) {
    std::array<std::uint8_t, 7> plain{};
    plain[0] = programExecution ? '1' : '0';
    for (std::size_t i = 0; i < 6; ++i)
        plain[i + 1] = i < password.size() ? static_cast<std::uint8_t>(password[i]) : kPad;
    std::string out;
    std::uint8_t previous = kProtectSeed;
    char buffer[4];
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const std::uint8_t c =
            static_cast<std::uint8_t>(RotateLeft(static_cast<std::uint8_t>(plain[i] ^ kProtectKey[i]),
                                                 static_cast<int>(i % 7) + 1) ^ previous);
        previous = c;
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(c));
        if (i) out += ':';
        out += buffer;
    }
    return out;
}

std::optional<ProtectValue> UnscrambleProtect(std::string_view text) {
    std::array<std::uint8_t, 7> scrambled{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < scrambled.size(); ++i) {
        if (i) {
            if (pos >= text.size() || text[pos] != ':') return std::nullopt;
            ++pos;
        }
        if (pos + 2 > text.size() || HexDigit(text[pos]) < 0 || HexDigit(text[pos + 1]) < 0) return std::nullopt;
        scrambled[i] = static_cast<std::uint8_t>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1]));
        pos += 2;
    }
    if (pos != text.size()) return std::nullopt;

    std::array<std::uint8_t, 7> plain{};
    std::uint8_t previous = kProtectSeed;
    for (std::size_t i = 0; i < scrambled.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(
            RotateRight(static_cast<std::uint8_t>(scrambled[i] ^ previous), static_cast<int>(i % 7) + 1) ^
            kProtectKey[i]);
        previous = scrambled[i];
    }
    if (plain[0] != '0' && plain[0] != '1') return std::nullopt;
    ProtectValue value;
    value.programExecution = plain[0] == '1';
    bool padding = false;
    for (std::size_t i = 1; i < plain.size(); ++i) {
        if (plain[i] == kPad) {
            padding = true;
            continue;
        }
        if (padding || plain[i] < 0x20 || plain[i] > 0x7E) return std::nullopt;
        value.password += static_cast<char>(plain[i]);
    }
    return value;
}

CommandLineSwitches ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLineSwitches switches;
    for (const std::string& argument : arguments) {
        if (EqualsIgnoringCase(argument, "noencryption")) switches.noEncryption = true;
        if (EqualsIgnoringCase(argument, "_db")) switches.idMode = true;
        if (EqualsIgnoringCase(argument, "continuous")) switches.continuous = true;
    }
    return switches;
}

std::string DefaultDataFolder(const std::string& documentsFolder, const std::string& programFolder) {
    // Many Linux homes have no documents folder until something makes one;
    // falling back to the program's folder there would put the data beside an
    // installed program, where the user cannot save. Make it, as the desktop's
    // own user-folder tool would, when the folder above it (the home) exists.
    if (!documentsFolder.empty() && !IsFolder(documentsFolder)) {
        const std::filesystem::path parent = std::filesystem::path(documentsFolder).lexically_normal().parent_path();
        if (IsFolder(parent.string())) EnsureFolder(documentsFolder);
    }
    if (IsFolder(documentsFolder)) {
        const std::string documents = WithTrailingSeparator(documentsFolder);
        const std::string company = documents + "Trevona";
        const std::string program = company + "/VRM-650T";
        if (EnsureFolder(company) && EnsureFolder(program)) return WithTrailingSeparator(program);
        return documents;
    }
    std::string folder = WithTrailingSeparator(programFolder.empty() ? std::string(".") : programFolder);
    if (IsFolder(folder + "DATA")) folder += "DATA/";
    return folder;
}

std::string StartFolder(const std::string& lastFilePath, const std::string& defaultFolder) {
    if (IsFolder(lastFilePath)) return WithTrailingSeparator(lastFilePath);
    return WithTrailingSeparator(defaultFolder);
}

}  // namespace vrm
