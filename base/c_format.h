// Number formatting and parsing with the C library's conversions in the C
// locale, whatever locale Qt installed for the process. Every file format and
// every number shown in a message goes through these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

// printf into a std::string under the C locale.
std::string cformat(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// sscanf under the C locale; returns what sscanf returns.
int cscan(const char* text, const char* fmt, ...) __attribute__((format(scanf, 2, 3)));

// "%f": six decimals, correctly rounded.
std::string formatF(double v);

// The shortest general decimal form ("0.1", "1", "100", "1.2966"): what a
// default real-to-text conversion shows.
std::string formatReal(double v);

// The shortest decimal text that reads back as the same float ("10.3" for
// the float nearest 10.3), point as decimal separator.
std::string shortestText(float v);

// Numbers typed by the user into an input box or a dialog field: surrounding
// blanks are ignored, "," and "." both stand for the decimal point, and the
// whole text must convert.
std::optional<double> parseUserReal(std::string_view text);
std::optional<int> parseUserInt(std::string_view text);

}  // namespace orv
