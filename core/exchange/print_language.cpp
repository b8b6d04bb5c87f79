#include "core/exchange/print_language.h"

#include <cstdio>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"

namespace vrm::print {

namespace {

constexpr std::string_view kDefaultDateFormat = "%Y-%m-%d %H:%M";
// A separator is a character or two (UTF-8), never a digit: anything else in
// the language file (a forgotten text, the translators' ID mode) is not a
// separator, and numbers must stay readable.
constexpr std::size_t kMaxSeparatorBytes = 4;

std::string Padded(int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    return buf;
}

}  // namespace

std::string PrintDecimalSeparator(const LanguageTable& language) {
    const std::string s = language.TextString(tid::kPrintDecimalSeparator);
    if (s.empty() || s.size() > kMaxSeparatorBytes) return ".";
    for (const char c : s)
        if ((c >= '0' && c <= '9') || c == ' ') return ".";
    return s;
}

std::string FormatDate(std::string_view format, const std::tm& when) {
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        switch (format[++i]) {
            case 'Y': out += Padded(when.tm_year + 1900, 4); break;
            case 'm': out += Padded(when.tm_mon + 1, 2); break;
            case 'd': out += Padded(when.tm_mday, 2); break;
            case 'H': out += Padded(when.tm_hour, 2); break;
            case 'M': out += Padded(when.tm_min, 2); break;
            case '%': out += '%'; break;
            default: out += '%'; out += format[i]; break;
        }
    }
    return out;
}

std::string PrintedAtText(const LanguageTable& language, const std::tm& when) {
    const std::string format = language.TextString(tid::kPrintDateFormat);
    return FormatDate(format.find('%') == std::string::npos ? kDefaultDateFormat : std::string_view(format), when);
}

std::string PrintedNow(const LanguageTable& language) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return PrintedAtText(language, local);
}

}  // namespace vrm::print
