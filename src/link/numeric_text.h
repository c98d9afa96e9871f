#pragma once
// The numeric value of a typed text: leading blanks, an optional sign, digits and an
// optional decimal part; anything after that is ignored, and a text that does not start
// with a number counts as 0 ("12abc" → 12, "abc" → 0).
#include <string>

namespace brixo {

double NumericValue(const std::string& text);

}  // namespace brixo
