#pragma once
// The numeric value of a typed text: leading blanks, an optional sign, digits and an
// optional decimal part; anything after that is ignored, and a text that does not start
// with a number counts as 0 ("12abc" → 12, "abc" → 0).
#include <string>
#include <string_view>

namespace brixo {

double NumericValue(const std::string& text);

// True when the whole text (blanks around it allowed) is one number, e.g. " -3", "4.5".
// A number box refuses anything else when it is committed: it keeps the value it had,
// so that letters or an emptied box never silently become 0.
bool IsNumericText(std::string_view text);

// The short note a number box shows when it refused `typed` and went back to `kept`.
std::string RefusedNumberNote(const std::string& typed, const std::string& kept);

}  // namespace brixo
