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

}  // namespace brixo
