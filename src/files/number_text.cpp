#include "files/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace brixo {

std::string FormatReal(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<int64_t>(value));
  }
  // Fixed notation: the file has no exponents, and the shortest fixed text reads back exactly.
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

}  // namespace brixo
