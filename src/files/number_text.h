#pragma once
// Numbers as the data and definitions files write them: decimal, "." as the decimal point,
// never the user's locale.
#include <optional>
#include <string>
#include <string_view>

#include "link/numeric_text.h"

namespace brixo {

// Decimal text of a real: an integral value without a decimal point, otherwise the
// shortest text without exponent that reads back to the same value, "." as the separator.
std::string FormatReal(double value);

}  // namespace brixo
