#include "transfer/general_field_text.h"

#include <cctype>
#include <cmath>

namespace brixo {

double FieldNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  double value = 0.0;
  // Digits beyond what any field can hold only need to stay far outside every range.
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
    if (value < 1e12) value = value * 10.0 + (text[i] - '0');
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      value += (text[i] - '0') * scale;
      scale /= 10.0;
      ++i;
    }
  }
  return negative ? -value : value;
}

int ClampToRange(int value, SpinRange range) {
  if (value < range.Min) return range.Min;
  if (value > range.Max) return range.Max;
  return value;
}

int ClampedFieldValue(const std::string& text, SpinRange range) {
  double v = FieldNumber(text);
  if (v < range.Min) return range.Min;
  if (v > range.Max) return range.Max;
  return static_cast<int>(std::lround(v));
}

}  // namespace brixo
