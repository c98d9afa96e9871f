#pragma once
// Numbers as the data and definitions files write them: decimal, "." as the decimal point,
// never the user's locale.
#include <optional>
#include <string>
#include <string_view>

namespace brixo {

// A whole decimal number (optional sign, digits, blanks around); nothing else.
std::optional<long> ParseWholeNumber(std::string_view text);

// Decimal text of a real: an integral value without a decimal point, otherwise the
// shortest text without exponent that reads back to the same value, "." as the separator.
std::string FormatReal(double value);

}  // namespace brixo
