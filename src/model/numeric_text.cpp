#include "model/numeric_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "link/numeric_text.h"

namespace brixo {

namespace {

// Far beyond every range of the editors, yet safe to add or subtract without overflow.
constexpr double kNumberLimit = 1.0e9;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

int ParseLeadingNumber(std::string_view text) {
  const double value = std::clamp(NumericValue(std::string(text)), -kNumberLimit, kNumberLimit);
  return static_cast<int>(std::lround(value));
}

bool IsNumericText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  int digits = 0;
  bool point = false;
  for (; pos < text.size() && (IsDigit(text[pos]) || (text[pos] == '.' && !point)); ++pos) {
    if (text[pos] == '.') {
      point = true;
    } else {
      ++digits;
    }
  }
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return digits > 0 && pos == text.size();
}

}  // namespace brixo
