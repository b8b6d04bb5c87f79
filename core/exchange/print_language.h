// How a print-out writes numbers and dates: in the program's language, not
// the system's, so that a German print-out reads German from the date in its
// title block to the last frequency. The language file says how (its decimal
// separator and its date format); a file that does not gives "." and an
// ISO date.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace vrm {
class LanguageTable;
}

namespace vrm::print {

// The decimal separator of the language's print-outs.
std::string PrintDecimalSeparator(const LanguageTable& language);

// `when` (local time) in the language's date format.
std::string PrintedAtText(const LanguageTable& language, const std::tm& when);

// The date and time now, as PrintedAtText writes them.
std::string PrintedNow(const LanguageTable& language);

// `when` in `format`: %Y year, %m month, %d day, %H hour, %M minute (each
// with leading zeros), %% a percent sign; every other character as it
// stands.
std::string FormatDate(std::string_view format, const std::tm& when);

}  // namespace vrm::print
