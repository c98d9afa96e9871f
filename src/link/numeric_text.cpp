#include "link/numeric_text.h"

#include <cctype>
#include <cstdlib>

namespace brixo {

double NumericValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t digitsStart = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  bool anyDigit = i > digitsStart;
  if (i < text.size() && text[i] == '.') {
    ++i;
    const size_t fractionStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    anyDigit = anyDigit || i > fractionStart;
  }
  if (!anyDigit) return 0.0;
  // strtod would also accept exponents and hexadecimal; hand it only what we matched.
  return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}

bool IsNumericText(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  size_t pos = 0;
  while (pos < text.size() && blank(text[pos])) ++pos;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) ++pos;
  int digits = 0;
  bool point = false;
  for (; pos < text.size() && (digit(text[pos]) || (text[pos] == '.' && !point)); ++pos) {
    if (text[pos] == '.') {
      point = true;
    } else {
      ++digits;
    }
  }
  while (pos < text.size() && blank(text[pos])) ++pos;
  return digits > 0 && pos == text.size();
}

std::string RefusedNumberNote(const std::string& typed, const std::string& kept) {
  const std::string shown = typed.empty() ? std::string("An empty box") : "\"" + typed + "\"";
  return shown + " is not a number: kept " + kept;
}

}  // namespace brixo
