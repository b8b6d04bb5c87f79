#include "core/base/language_rows.h"

#include <charconv>
#include <cstdlib>

namespace vrm::langrows {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

bool NeedsQuotes(std::string_view s) { return s.find_first_of("\"\r\n,") != std::string_view::npos; }

}  // namespace

std::string_view Trim(std::string_view s) {
    if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

std::string Unquote(std::string_view f) {
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
    std::string out;
    out.reserve(f.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '"' && i + 1 < f.size() && f[i + 1] == '"') {
            out += '"';
            ++i;
        } else if (f[i] == '\\' && i + 1 < f.size() && f[i + 1] == 't') {
            out += '\t';
            ++i;
        } else {
            out += f[i];
        }
    }
    return out;
}

bool SplitRow(std::string_view row, std::string& first, std::vector<std::string>& fields) {
    fields.clear();
    const std::size_t comma = row.find(',');
    const std::string_view head = row.substr(0, comma);
    if (head.find('"') != std::string_view::npos) return false;
    first.assign(head);
    if (comma == std::string_view::npos) return true;
    const std::string_view rest = row.substr(comma + 1);
    std::size_t start = 0;
    bool oddQuotes = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '"') {
            oddQuotes = !oddQuotes;
        } else if (rest[i] == ',' && !oddQuotes) {
            fields.push_back(Unquote(rest.substr(start, i - start)));
            start = i + 1;
        }
    }
    fields.push_back(Unquote(rest.substr(start)));
    return true;
}

bool ParseInt(std::string_view s, int& out) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > 0x7fffffffLL) return false;
    }
    out = static_cast<int>(negative ? -v : v);
    return true;
}

float ParseFloat(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (i < s.size() && s[i] == '+') ++i;
    float v = 0.0f;
    const auto r = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
    if (r.ec != std::errc()) return 0.0f;
    return v;
}

std::string Truncate(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return std::string(s);
    std::size_t n = maxBytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return std::string(s.substr(0, n));
}

bool ParseTextId(std::string_view first, std::uint32_t& id) {
    if (first.size() != 10 || first[0] != '^' || first[1] != '#') return false;
    std::uint32_t v = 0;
    for (std::size_t i = 2; i < 10; ++i) {
        if (first[i] < '0' || first[i] > '9') return false;
        v = v * 10 + static_cast<std::uint32_t>(first[i] - '0');
    }
    id = v;
    return true;
}

void AppendField(std::string& out, std::string_view s) {
    out += ',';
    if (!NeedsQuotes(s)) {
        out += s;
        return;
    }
    out += '"';
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

bool WithinBounds(std::string_view data) {
    std::size_t line = 0, record = 0, commas = 0;
    for (std::size_t i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\n') {
            line = 0;
            if (i > 0 && data[i - 1] == '\r') record = commas = 0;
            continue;
        }
        commas += c == ',';
        if (++line > kMaxRowBytes || ++record > kMaxRowBytes || commas > kMaxRowCommas) return false;
    }
    return true;
}

}  // namespace vrm::langrows
