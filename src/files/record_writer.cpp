#include "files/record_writer.h"

#include "link/numeric_text.h"
#include "link/text_encoding.h"

namespace brixo {

RecordWriter& RecordWriter::Line(int indent) {
  if (line_open_) text_ += "\r\n";
  text_.append(static_cast<size_t>(indent), ' ');
  line_open_ = true;
  line_has_field_ = false;
  return *this;
}

RecordWriter& RecordWriter::Record(std::string_view tag, int indent) {
  Line(indent);
  text_ += tag;
  line_has_field_ = true;
  return *this;
}

void RecordWriter::Separate() {
  if (line_has_field_) text_ += ',';
  line_has_field_ = true;
}

RecordWriter& RecordWriter::Number(long value) {
  Separate();
  text_ += std::to_string(value);
  return *this;
}

RecordWriter& RecordWriter::Real(double value) {
  Separate();
  text_ += FormatReal(value);
  return *this;
}

RecordWriter& RecordWriter::Text(std::string_view value) {
  Separate();
  text_ += '"';
  for (char c : Latin1FromUtf8(value)) {
    if (c == '"') {
      c = '\'';
      quotes_replaced_ = true;
    } else if (c == '\r' || c == '\n') {
      c = ' ';
    }
    text_ += c;
  }
  text_ += '"';
  return *this;
}

std::string RecordWriter::Finish() {
  if (line_open_) text_ += "\r\n";
  line_open_ = false;
  return std::move(text_);
}

}  // namespace brixo
