#include "model/numeric_text.h"

#include <algorithm>
#include <cmath>

#include "link/numeric_text.h"

namespace brixo {

namespace {

// Far beyond every range of the editors, yet safe to add or subtract without overflow.
constexpr double kNumberLimit = 1.0e9;

}  // namespace

int ParseLeadingNumber(std::string_view text) {
  const double value = std::clamp(NumericValue(text), -kNumberLimit, kNumberLimit);
  return static_cast<int>(std::lround(value));
}

}  // namespace brixo
