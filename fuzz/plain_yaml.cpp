#include "plain_yaml.h"

#include <algorithm>

namespace vrm::fuzz {

namespace {

struct Line {
    int indent = 0;
    std::string key;
    std::string value;
    bool empty = false;  // nothing after the colon
};

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::string_view TrimEnd(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// YAML's indicators that start something other than a plain scalar.
bool StartsSpecial(std::string_view s) {
    if (s.empty()) return false;
    if (std::string_view("?:,[]{}#&*!|>%@`").find(s[0]) != std::string_view::npos) return true;
    return s[0] == '-' && (s.size() == 1 || s[1] == ' ');
}

// A quoted value; false when it has an escape or more than a comment after it.
bool Quoted(std::string_view s, std::string& out) {
    const char q = s[0];
    out.clear();
    std::size_t i = 1;
    for (;; ++i) {
        if (i >= s.size()) return false;
        if (q == '"' && s[i] == '\\') return false;
        if (s[i] != q) {
            out += s[i];
            continue;
        }
        if (q == '\'' && i + 1 < s.size() && s[i + 1] == '\'') {
            out += '\'';
            ++i;
            continue;
        }
        break;
    }
    const std::string_view rest = TrimEnd(s.substr(i + 1));
    return rest.empty() || (rest.size() >= 2 && rest[0] == ' ' && rest.find('#') == rest.find_first_not_of(' '));
}

// A plain value: up to a " #" comment; nothing YAML would read otherwise.
bool Plain(std::string_view s, std::string& out) {
    if (StartsSpecial(s)) return false;
    const std::size_t hash = s.find(" #");
    if (hash != std::string_view::npos) s = s.substr(0, hash);
    s = TrimEnd(s);
    if (s.find(": ") != std::string_view::npos || (!s.empty() && s.back() == ':')) return false;
    out = std::string(s);
    if (out == "~" || out == "null" || out == "Null" || out == "NULL") out.clear();
    return true;
}

std::optional<Line> ReadLine(std::string_view raw) {
    Line line;
    while (static_cast<std::size_t>(line.indent) < raw.size() && raw[line.indent] == ' ') ++line.indent;
    const std::string_view body = TrimEnd(raw.substr(line.indent));
    const std::size_t colon = body.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    const std::string_view key = TrimEnd(body.substr(0, colon));
    if (key.empty() || StartsSpecial(key) || key[0] == '\'' || key[0] == '"' || key.find(" #") != std::string_view::npos)
        return std::nullopt;
    line.key = std::string(key);
    std::string_view value = body.substr(colon + 1);
    if (!value.empty() && value[0] != ' ') return std::nullopt;
    while (!value.empty() && value[0] == ' ') value.remove_prefix(1);
    if (value.empty() || value[0] == '#') {
        line.empty = true;
        return line;
    }
    const bool ok = value[0] == '\'' || value[0] == '"' ? Quoted(value, line.value) : Plain(value, line.value);
    if (!ok) return std::nullopt;
    return line;
}

bool Outside(std::string_view text) {
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && c != '\r' && c != '\n') || b == 0x7F) return true;
    }
    // NEL, LS, PS and a byte order mark inside the text: line breaks or
    // marks YAML may read otherwise than an editor shows them.
    for (const std::string_view mark : {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xEF\xBB\xBF"})
        if (text.find(mark) != std::string_view::npos) return true;
    return false;
}

}  // namespace

std::optional<std::vector<PlainField>> ReadPlainFields(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (Outside(text)) return std::nullopt;
    std::vector<Line> lines;
    for (const std::string_view raw : SplitLines(text)) {
        const std::string_view body = TrimEnd(raw);
        const std::size_t first = body.find_first_not_of(' ');
        if (first == std::string_view::npos || body[first] == '#') continue;
        const std::optional<Line> line = ReadLine(body);
        if (!line) return std::nullopt;
        lines.push_back(*line);
    }

    struct Open {
        int indent;
        std::string key;
        int childIndent;  // -1 until the first child
    };
    std::vector<Open> open;
    std::vector<PlainField> fields;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        while (!open.empty() && open.back().indent >= l.indent) open.pop_back();
        if (!open.empty()) {
            if (open.back().childIndent < 0) open.back().childIndent = l.indent;
            if (open.back().childIndent != l.indent) return std::nullopt;
        } else if (l.indent != 0) {
            return std::nullopt;
        }
        const bool opens = i + 1 < lines.size() && lines[i + 1].indent > l.indent;
        if (opens && !l.empty) return std::nullopt;  // a value with more lines under it
        if (opens) {
            open.push_back({l.indent, l.key, -1});
            continue;
        }
        if (open.empty() || open.front().key != "fields") continue;
        std::string key;
        for (std::size_t k = 1; k < open.size(); ++k) key += open[k].key + ".";
        fields.push_back({key + l.key, l.value});
    }
    return fields;
}

}  // namespace vrm::fuzz
