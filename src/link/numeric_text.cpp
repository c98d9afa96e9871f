#include "link/numeric_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace brixo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The length of the number `text` starts with (sign, digits, decimal part), 0 when it
// does not start with one.
size_t NumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i) ++digits;
  }
  return digits > 0 ? i : 0;
}

// from_chars reads the C locale's format whatever the process's locale; it takes no "+".
// A number too large for a double is taken as infinite (callers clamp), one too small as 0.
double ValueOf(std::string_view number) {
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc()) return value;
  const std::string_view whole = number.substr(0, number.find('.'));
  if (whole.find_first_of("123456789") == std::string_view::npos) return 0.0;
  return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;
}

}  // namespace

double NumericValue(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  const size_t length = NumberLength(text);
  return length == 0 ? 0.0 : ValueOf(text.substr(0, length));
}

std::optional<long> ParseWholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 12) return std::nullopt;
  long value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

std::optional<double> ParseRealNumber(std::string_view text) {
  if (text.empty() || NumberLength(text) != text.size()) return std::nullopt;
  return ValueOf(text);
}

std::string FixedText(double value, int decimals) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("0");
}

std::string FormatReal(double value) {
  if (!std::isfinite(value)) return "0";
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    return std::to_string(static_cast<int64_t>(value));
  }
  // Fixed notation: the file has no exponents, and the shortest fixed text reads back exactly.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

bool IsNumericText(std::string_view text) {
  text = TrimBlanks(text);
  return !text.empty() && NumberLength(text) == text.size();
}

std::string RefusedNumberNote(const std::string& typed, const std::string& kept) {
  const std::string shown = typed.empty() ? std::string("An empty box") : "\"" + typed + "\"";
  return shown + " is not a number: kept " + kept;
}

}  // namespace brixo
