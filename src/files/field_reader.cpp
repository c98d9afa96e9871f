#include "files/field_reader.h"

#include "link/numeric_text.h"
#include "link/text_encoding.h"

namespace brixo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Control characters other than the blank tab; line ends never reach the line's text.
bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

std::string ControlName(char c) {
  static const char* const kHex = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(c);
  return std::string("control character 0x") + kHex[byte >> 4] + kHex[byte & 15] + " outside quotes";
}

}  // namespace

bool LineReader::Split(std::string_view text, FileLine& line) {
  size_t pos = 0;
  const auto skipBlanks = [&] {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
  };
  skipBlanks();
  if (pos >= text.size()) return true;  // a blank line
  for (;;) {
    skipBlanks();
    Field field;
    if (pos < text.size() && text[pos] == '"') {
      // The format has no escape and no text spanning lines.
      const size_t close = text.find('"', pos + 1);
      if (close == std::string_view::npos) {
        reason_ = "a text whose closing quote is missing";
        return false;
      }
      field.Text = Utf8FromLatin1(text.substr(pos + 1, close - pos - 1));
      field.Quoted = true;
      pos = close + 1;
      skipBlanks();
      if (pos < text.size() && text[pos] != ',') {
        reason_ = IsControl(text[pos]) ? ControlName(text[pos]) : "more behind a text's closing quote";
        return false;
      }
    } else {
      const size_t start = pos;
      while (pos < text.size() && text[pos] != ',') {
        if (text[pos] == '"') {
          reason_ = "a double quote inside a field";
          return false;
        }
        if (IsControl(text[pos])) {
          reason_ = ControlName(text[pos]);
          return false;
        }
        ++pos;
      }
      size_t last = pos;
      while (last > start && IsBlank(text[last - 1])) --last;
      field.Text = Utf8FromLatin1(text.substr(start, last - start));
    }
    line.Fields.push_back(std::move(field));
    if (pos >= text.size()) return true;
    ++pos;  // the comma
  }
}

bool LineReader::Next(FileLine& line) {
  while (!Broken() && pos_ < text_.size()) {
    size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    const std::string_view text = text_.substr(pos_, end - pos_);
    // One line end: CR LF, CR or LF.
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    ++line_number_;
    line.Number = line_number_;
    line.Fields.clear();
    if (!Split(text, line)) {
      broken_line_ = line_number_;
      pos_ = text_.size();
      return false;
    }
    if (!line.Fields.empty()) return true;
  }
  return false;
}

bool FieldCursor::Fail(std::string reason) {
  if (reason_.empty()) reason_ = std::move(reason);
  return false;
}

std::string RefusedValueText(const std::string& name, const std::string& value, const std::string& why) {
  const bool endsInNumber = !name.empty() && name.back() >= '0' && name.back() <= '9';
  return endsInNumber ? name + " is " + value + ", " + why : name + " " + value + " is " + why;
}

std::string FieldCursor::NameOf(size_t place) const { return namer_ ? namer_(static_cast<int>(place)) : std::string(); }

bool FieldCursor::ReadText(std::string& value) {
  if (AtEnd()) return Fail(MissingText());
  value = fields_[next_++].Text;
  return true;
}

bool FieldCursor::ReadInteger(long min, long max, int& value) {
  if (AtEnd()) return Fail(MissingText());
  const size_t place = next_++;
  const std::string& text = fields_[place].Text;
  const std::string name = NameOf(place);
  const std::string field = "field " + std::to_string(place);
  const std::optional<long> number = ParseWholeNumber(text);
  if (!number) return Fail(name.empty() ? field + " is not a whole number: " + text : RefusedValueText(name, text, "not a whole number"));
  if (*number < min || *number > max) {
    // A named field reads as the value it holds ("initial aspect 256 is above 255"); a
    // field known only by its place keeps both bounds, since nothing else tells what it is.
    if (name.empty())
      return Fail(field + " is " + std::to_string(*number) + ", outside " + std::to_string(min) + " to " + std::to_string(max));
    return Fail(RefusedValueText(name, std::to_string(*number),
                                 *number > max ? "above " + std::to_string(max) : "below " + std::to_string(min)));
  }
  value = static_cast<int>(*number);
  return true;
}

std::string FieldCursor::MissingText() const {
  const std::string name = NameOf(next_);
  const std::string place = "field " + std::to_string(next_);
  return "too few fields: " + (name.empty() ? place : name + " (" + place + ")") + " is missing";
}

bool FieldCursor::Finish() {
  if (AtEnd()) return true;
  return Fail("too many fields: " + std::to_string(fields_.size() - 1) + " where " + std::to_string(next_ - 1) +
              " belong");
}

bool IsTag(const Field& field, std::string_view tag) { return !field.Quoted && field.Text == tag; }

}  // namespace brixo
