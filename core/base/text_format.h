// printf-style formatting of texts that come from a language file.
//
// A language file is input: its texts must never reach vsnprintf as a format,
// where a stray %n or a %s without an argument would be undefined behaviour.
// FormatText understands the conversions our texts use (%d %i %u %x %X %o %c
// %s %f %e %g and %%, with flags, width and precision), takes its arguments
// from a typed list, converts between numbers and text where the two disagree,
// and prints anything else literally.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vrm {

class FormatArg {
public:
    FormatArg(int v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(unsigned long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(long long v) : value_(static_cast<std::int64_t>(v)) {}
    FormatArg(double v) : value_(v) {}
    FormatArg(const char* v) : value_(std::string(v ? v : "")) {}
    FormatArg(std::string v) : value_(std::move(v)) {}
    FormatArg(std::string_view v) : value_(std::string(v)) {}

    const std::variant<std::int64_t, double, std::string>& Value() const { return value_; }

private:
    std::variant<std::int64_t, double, std::string> value_;
};

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);
std::string FormatText(std::string_view format, const std::vector<FormatArg>& args);

// The conversion letters of a format text in order ("%s %d / %d" gives "sdd";
// %% is not a conversion). Used to check that translations keep their
// placeholders.
std::string FormatPlaceholders(std::string_view format);

}  // namespace vrm
