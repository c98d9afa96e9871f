#pragma once
// Reads the data and definitions files as a stream of fields, not as lines: blanks before
// a field are skipped; an unquoted field ends at the next comma or line end; a quoted
// field runs to its closing quote and the comma or line end behind it is consumed.
// A quoted field must close on its own line and be followed by a comma or the line's end,
// and no other field holds a double quote; anything else breaks the file.
#include <optional>
#include <string>
#include <string_view>

namespace brixo {

struct Field {
  std::string Text;     // without the quotes; UTF-8, as the core keeps texts (the file has Latin-1)
  bool Quoted = false;  // tags are never quoted, so a quoted field never acts as one
};

class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : text_(text) {}

  // The next field; false at the end of the text or at a broken quote (Broken() then tells).
  bool Next(Field& field);
  // The next field without consuming it.
  bool Peek(Field& field) const;
  bool Broken() const { return broken_; }

  // Typed reads of the next field; false when it is missing or does not fit.
  bool ReadText(std::string& value);
  bool ReadInteger(long min, long max, int& value);
  bool ReadByte(int& value) { return ReadInteger(0, 255, value); }
  bool ReadInt16(int& value) { return ReadInteger(-32768, 32767, value); }
  // True when the next field holds a whole number (of any size).
  bool NextIsNumber() const;

 private:
  size_t ReadAt(size_t pos, Field& field, bool& broken) const;

  std::string_view text_;
  size_t pos_ = 0;
  bool broken_ = false;
};

// True when the field is the given tag: unquoted and equal character by character.
bool IsTag(const Field& field, std::string_view tag);

}  // namespace brixo
