#include "files/field_reader.h"

#include "link/numeric_text.h"
#include "link/text_encoding.h"

namespace brixo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Consumes one comma or one line end (CR LF, CR or LF) at pos, if there is one.
size_t SkipDelimiter(std::string_view text, size_t pos) {
  if (pos >= text.size()) return pos;
  if (text[pos] == ',') return pos + 1;
  if (text[pos] == '\r') {
    ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
    return pos;
  }
  if (text[pos] == '\n') return pos + 1;
  return pos;
}

}  // namespace

size_t FieldReader::ReadAt(size_t pos, Field& field, bool& broken) const {
  const auto fail = [&broken] {
    broken = true;
    return std::string_view::npos;
  };
  while (pos < text_.size() && IsBlank(text_[pos])) ++pos;
  if (pos >= text_.size()) return std::string_view::npos;
  if (text_[pos] == '"') {
    // The format has no escape and no text spanning lines: a quote that does not close on
    // its own line, or is followed by more than the field's end, breaks the file. Read on,
    // it would take the following fields for text and shift every record after it.
    const size_t close = text_.find_first_of("\"\r\n", pos + 1);
    if (close == std::string_view::npos || text_[close] != '"') return fail();
    field.Text = Utf8FromLatin1(text_.substr(pos + 1, close - pos - 1));
    field.Quoted = true;
    pos = close + 1;
    while (pos < text_.size() && IsBlank(text_[pos])) ++pos;
    if (pos < text_.size() && text_[pos] != ',' && !IsLineEnd(text_[pos])) return fail();
    return SkipDelimiter(text_, pos);
  }
  size_t end = pos;
  while (end < text_.size() && text_[end] != ',' && !IsLineEnd(text_[end])) {
    if (text_[end] == '"') return fail();  // a quote inside a field: part of a broken text
    ++end;
  }
  size_t last = end;
  while (last > pos && IsBlank(text_[last - 1])) --last;
  field.Text = Utf8FromLatin1(text_.substr(pos, last - pos));
  field.Quoted = false;
  return SkipDelimiter(text_, end);
}

bool FieldReader::Next(Field& field) {
  if (broken_) return false;
  size_t next = ReadAt(pos_, field, broken_);
  if (next == std::string_view::npos) {
    pos_ = text_.size();
    return false;
  }
  pos_ = next;
  return true;
}

bool FieldReader::Peek(Field& field) const {
  if (broken_) return false;
  bool broken = false;
  return ReadAt(pos_, field, broken) != std::string_view::npos;
}

bool FieldReader::ReadText(std::string& value) {
  Field field;
  if (!Next(field)) return false;
  value = std::move(field.Text);
  return true;
}

bool FieldReader::ReadInteger(long min, long max, int& value) {
  Field field;
  if (!Next(field)) return false;
  auto number = ParseWholeNumber(field.Text);
  if (!number || *number < min || *number > max) return false;
  value = static_cast<int>(*number);
  return true;
}

bool FieldReader::NextIsNumber() const {
  Field field;
  return Peek(field) && ParseWholeNumber(field.Text).has_value();
}

bool IsTag(const Field& field, std::string_view tag) { return !field.Quoted && field.Text == tag; }

}  // namespace brixo
