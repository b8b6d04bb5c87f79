// The rows of a language file: lines and records, fields with their quoting,
// the numbers and text IDs they hold, and the bounds a row must keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrm::langrows {

// The final carriage return, then leading white space, removed.
std::string_view Trim(std::string_view s);
// Removes the enclosing quotes, turns a doubled quote into one and \t into a tab.
std::string Unquote(std::string_view f);
// Splits a row into its first field and the fields after it. A comma inside
// double quotes does not end a field (a field goes on while it holds an odd
// number of quotes); the piece after the last comma is always a field. Returns
// false when the first field holds a double quote.
bool SplitRow(std::string_view row, std::string& first, std::vector<std::string>& fields);
// atoi-like: leading white space, a sign, digits; anything else ends the number.
// Returns false on overflow of int.
bool ParseInt(std::string_view s, int& out);
// atof-like, always with '.' as the decimal separator; no number gives 0.
float ParseFloat(std::string_view s);
// Keeps at most `maxBytes` bytes without cutting a UTF-8 sequence in two.
std::string Truncate(std::string_view s, std::size_t maxBytes);
// The eight decimal digits after "^#"; false for any other first field.
bool ParseTextId(std::string_view first, std::uint32_t& id);
// Appends ',' and the field, quoted when it holds a quote, a comma or a line end.
void AppendField(std::string& out, std::string_view s);

// Bounds far above any real language file's rows (a few hundred bytes with a
// handful of fields); a file beyond them is refused as damaged unparsed.
inline constexpr std::size_t kMaxRowBytes = 16u * 1024u;
inline constexpr std::size_t kMaxRowCommas = 256;
// True when no line or record is longer, and no record holds more commas,
// than a language file's rows can.
bool WithinBounds(std::string_view data);

// Calls `f` with each physical line (without its line feed).
template <typename F>
void ForEachLine(std::string_view data, F&& f) {
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t end = data.find('\n', pos);
        if (end == std::string_view::npos) end = data.size();
        if (!f(data.substr(pos, end - pos))) return;
        pos = end + 1;
    }
}

// Calls `f` with each record: a record ends at a line feed that follows a
// carriage return; a bare line feed stays in the record, which goes on with
// the next physical line. The record is handed over without its line feed.
template <typename F>
void ForEachRecord(std::string_view data, F&& f) {
    std::size_t pos = 0;
    while (pos < data.size()) {
        std::size_t search = pos;
        std::size_t end = data.size();
        for (;;) {
            const std::size_t lf = data.find('\n', search);
            if (lf == std::string_view::npos) break;
            if (lf > pos && data[lf - 1] == '\r') {
                end = lf;
                break;
            }
            search = lf + 1;
        }
        if (!f(data.substr(pos, end - pos))) return;
        pos = end + 1;
    }
}

}  // namespace vrm::langrows
