#include "core/base/text_format.h"

#include <cstdio>
#include <cstdlib>

namespace vrm {
namespace {

constexpr int kMaxWidth = 512;  // a wider field in a text is a damaged text

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsLength(char c) { return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't'; }
bool IsConversion(char c) {
    switch (c) {
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': case 'c': case 's':
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
            return true;
        default:
            return false;
    }
}

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    std::size_t length = 0;  // characters consumed after the '%'
};

// Parses the conversion that starts after a '%'. Returns false when the text
// there is not one we format (it is then printed as it stands).
bool ParseConversion(std::string_view s, Conversion& conv) {
    std::size_t i = 0;
    while (i < s.size() && IsFlag(s[i])) conv.flags += s[i++];
    auto number = [&](int& out) {
        if (i >= s.size() || s[i] < '0' || s[i] > '9') return;
        long v = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
            v = v * 10 + (s[i++] - '0');
            if (v > kMaxWidth) v = kMaxWidth;
        }
        out = static_cast<int>(v);
    };
    number(conv.width);
    if (i < s.size() && s[i] == '.') {
        ++i;
        conv.precision = 0;
        number(conv.precision);
    }
    while (i < s.size() && IsLength(s[i])) ++i;
    if (i >= s.size() || !IsConversion(s[i])) return false;
    conv.conversion = s[i++];
    conv.length = i;
    return true;
}

std::int64_t AsInteger(const FormatArg* arg) {
    if (!arg) return 0;
    const auto& v = arg->Value();
    if (auto p = std::get_if<std::int64_t>(&v)) return *p;
    if (auto p = std::get_if<double>(&v)) return static_cast<std::int64_t>(*p);
    return std::strtoll(std::get<std::string>(v).c_str(), nullptr, 10);
}

double AsDouble(const FormatArg* arg) {
    if (!arg) return 0.0;
    const auto& v = arg->Value();
    if (auto p = std::get_if<double>(&v)) return *p;
    if (auto p = std::get_if<std::int64_t>(&v)) return static_cast<double>(*p);
    return std::strtod(std::get<std::string>(v).c_str(), nullptr);
}

std::string AsString(const FormatArg* arg) {
    if (!arg) return {};
    const auto& v = arg->Value();
    if (auto p = std::get_if<std::string>(&v)) return *p;
    char buf[64];
    if (auto p = std::get_if<std::int64_t>(&v)) {
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(*p));
    } else {
        std::snprintf(buf, sizeof buf, "%g", std::get<double>(v));
    }
    return buf;
}

// Builds a format of our own from the parsed parts, so that what reaches
// snprintf is always one well-formed conversion of the right type.
std::string CFormat(const Conversion& conv, const char* length, char conversion) {
    std::string f = "%" + conv.flags;
    if (conv.width >= 0) f += std::to_string(conv.width);
    if (conv.precision >= 0) f += "." + std::to_string(conv.precision);
    f += length;
    f += conversion;
    return f;
}

void AppendPrintf(std::string& out, const std::string& format, auto value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, format.c_str(), value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), format.c_str(), value);
    out.append(big.data(), static_cast<std::size_t>(n));
}

void FormatOne(std::string& out, const Conversion& conv, const FormatArg* arg) {
    switch (conv.conversion) {
        case 'd': case 'i':
            AppendPrintf(out, CFormat(conv, "ll", 'd'), static_cast<long long>(AsInteger(arg)));
            break;
        case 'u': case 'x': case 'X': case 'o':
            AppendPrintf(out, CFormat(conv, "ll", conv.conversion),
                         static_cast<unsigned long long>(AsInteger(arg)));
            break;
        case 'c': {
            const std::int64_t v = arg && std::holds_alternative<std::string>(arg->Value())
                                       ? (AsString(arg).empty() ? 0 : static_cast<unsigned char>(AsString(arg)[0]))
                                       : AsInteger(arg);
            Conversion c = conv;
            c.precision = -1;
            AppendPrintf(out, CFormat(c, "", 'c'), static_cast<int>(static_cast<unsigned char>(v)));
            break;
        }
        case 's': {
            const std::string s = AsString(arg);
            AppendPrintf(out, CFormat(conv, "", 's'), s.c_str());
            break;
        }
        default:  // f F e E g G
            AppendPrintf(out, CFormat(conv, "", conv.conversion), AsDouble(arg));
            break;
    }
}

template <typename Args>
std::string FormatImpl(std::string_view format, const Args& args) {
    std::string out;
    out.reserve(format.size() + 32);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Conversion conv;
        if (!ParseConversion(format.substr(i + 1), conv)) {
            out += c;  // not a conversion we know: print it as it stands
            continue;
        }
        const FormatArg* arg = next != args.end() ? &*next++ : nullptr;
        FormatOne(out, conv, arg);
        i += conv.length;
    }
    return out;
}

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    return FormatImpl(format, args);
}

std::string FormatText(std::string_view format, const std::vector<FormatArg>& args) {
    return FormatImpl(format, args);
}

std::string FormatPlaceholders(std::string_view format) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        Conversion conv;
        if (!ParseConversion(format.substr(i + 1), conv)) continue;
        out += conv.conversion;
        i += conv.length;
    }
    return out;
}

}  // namespace vrm
