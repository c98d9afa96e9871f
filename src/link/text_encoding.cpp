#include "link/text_encoding.h"

#include <vector>

namespace brixo {

namespace {

// The character at `at` and the bytes it takes; a byte that starts no whole UTF-8
// character (or an over-long or surrogate form) stands for itself.
char32_t Decode(std::string_view text, size_t at, size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  const size_t need = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (need <= 1 || at + need > text.size()) return lead;
  char32_t code = lead & (0x7F >> need);
  for (size_t k = 1; k < need; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return lead;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[need] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return lead;
  length = need;
  return code;
}

void Encode(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string Utf8FromLatin1(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) Encode(static_cast<unsigned char>(c), out);
  return out;
}

std::string Latin1FromUtf8(std::string_view text, bool* replaced) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0, length = 0; at < text.size(); at += length) {
    const char32_t code = Decode(text, at, length);
    if (code > 0xFF && replaced != nullptr) *replaced = true;
    out += code <= 0xFF ? static_cast<char>(code) : '?';
  }
  return out;
}

std::u32string CodePoints(std::string_view text) {
  std::u32string points;
  for (size_t at = 0, length = 0; at < text.size(); at += length) points += Decode(text, at, length);
  return points;
}

std::string FirstNonAsciiCharacter(std::string_view text) {
  static const char* const kHex = "0123456789ABCDEF";
  for (size_t at = 0, length = 0; at < text.size(); at += length) {
    const char32_t code = Decode(text, at, length);
    if (code < 0x80) continue;
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length == 1 && code == byte) return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
    std::string hex;
    for (char32_t rest = code; rest != 0 || hex.size() < 4; rest >>= 4) hex.insert(hex.begin(), kHex[rest & 15]);
    return "\"" + std::string(text.substr(at, length)) + "\" (U+" + hex + ")";
  }
  return {};
}

std::string MarkupEscaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

std::string FirstCharacters(std::string_view text, size_t count) {
  size_t at = 0;
  for (size_t length = 0; count > 0 && at < text.size(); at += length, --count) Decode(text, at, length);
  return std::string(text.substr(0, at));
}

std::string LastCharacters(std::string_view text, size_t count) {
  std::vector<size_t> starts;
  for (size_t at = 0, length = 0; at < text.size(); at += length) {
    starts.push_back(at);
    Decode(text, at, length);
  }
  if (starts.size() <= count) return std::string(text);
  return std::string(text.substr(starts[starts.size() - count]));
}

}  // namespace brixo
