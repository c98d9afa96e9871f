#pragma once
// Reading numbers from what the user typed into a box.
#include <string>
#include <string_view>

#include "link/numeric_text.h"

namespace brixo {

// The number a text starts with, rounded to a whole number: "12abc" is 12, "2.5" is 3,
// and a text without a leading number counts as 0. Leading blanks are skipped.
int ParseLeadingNumber(std::string_view text);

// The text of a whole number as the boxes show it: decimal, no padding.
inline std::string NumberText(int value) { return std::to_string(value); }

}  // namespace brixo
