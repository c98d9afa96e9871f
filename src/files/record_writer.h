#pragma once
// Builds the text of a data or definitions file: one record per line ended by CR LF,
// fields separated by single commas, strings in double quotes, numbers in decimal.
#include <string>
#include <string_view>

namespace brixo {

class RecordWriter {
 public:
  // Starts a new line with `indent` blanks and the tag as its first field.
  RecordWriter& Record(std::string_view tag, int indent = 0);
  // Starts a new line without a tag (the first line of a file).
  RecordWriter& Line(int indent = 0);
  RecordWriter& Number(long value);
  RecordWriter& Real(double value);
  // A quoted string. The format has no escape, so a double quote inside the text is
  // written as an apostrophe (QuotesReplaced() then tells), and a line break, which a
  // text read from a controller may hold, as a blank: a text never spans lines. The file
  // has one byte per character (Latin-1); a character beyond it becomes "?".
  RecordWriter& Text(std::string_view value);

  // The whole text, the last line ended.
  std::string Finish();
  bool QuotesReplaced() const { return quotes_replaced_; }

 private:
  void Separate();

  std::string text_;
  bool line_open_ = false;
  bool line_has_field_ = false;
  bool quotes_replaced_ = false;
};

}  // namespace brixo
