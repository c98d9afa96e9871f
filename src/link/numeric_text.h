#pragma once
// Numbers in text as the user types them and the files hold them: "." is the decimal
// point whatever the user's locale (a German desktop would otherwise read "2.5" as 2).
#include <optional>
#include <string>
#include <string_view>

namespace brixo {

// The numeric value of a typed text: leading blanks, an optional sign, digits and an
// optional decimal part; anything after that is ignored, and a text that does not start
// with a number counts as 0 ("12abc" → 12, "abc" → 0).
double NumericValue(std::string_view text);

// A whole decimal number (blanks around it, an optional sign, at most 12 digits) and
// nothing else: " 42 " and "-7", not "4 2", "1.5" or "0x10".
std::optional<long> ParseWholeNumber(std::string_view text);

// The value of a text that is one decimal number and nothing else ("0.5", "-3", "+2."),
// as options on a command line are given; no blanks, exponents or "inf".
std::optional<double> ParseRealNumber(std::string_view text);

// "5.3": `value` with `decimals` digits after the point.
std::string FixedText(double value, int decimals);

// A real as the data and definitions files hold it: an integral value without a decimal
// point, otherwise the shortest text without exponent that reads back to the same value.
std::string FormatReal(double value);

// True when the whole text (blanks around it allowed) is one number, e.g. " -3", "4.5".
// A number box refuses anything else when it is committed: it keeps the value it had,
// so that letters or an emptied box never silently become 0.
bool IsNumericText(std::string_view text);

// The short note a number box shows when it refused `typed` and went back to `kept`.
std::string RefusedNumberNote(const std::string& typed, const std::string& kept);

}  // namespace brixo
