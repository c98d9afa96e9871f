#pragma once
// Reads the data and definitions files line by line: every file the program writes has one
// record per line, so a record's fields must all be on its line. Within a line blanks
// before a field are skipped; an unquoted field ends at the next comma or the line's end; a
// quoted field runs to its closing quote, which a comma or the line's end must follow.
// A quote that does not close on its line, a double quote in an unquoted field and a
// control character outside quotes break the file: read on, they would shift fields from
// one record into the next.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brixo {

struct Field {
  std::string Text;     // without the quotes; UTF-8, as the core keeps texts (the file has Latin-1)
  bool Quoted = false;  // tags are never quoted, so a quoted field never acts as one
};

// One line of a file split into its fields; a blank line has none.
struct FileLine {
  int Number = 0;  // counted from 1
  std::vector<Field> Fields;
};

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // The next line that holds a field (blank lines are passed over). False at the end of
  // the text, or at a broken line: Broken() then tells, with BrokenLine() and Reason().
  bool Next(FileLine& line);
  bool Broken() const { return !reason_.empty(); }
  int BrokenLine() const { return broken_line_; }
  const std::string& Reason() const { return reason_; }

 private:
  bool Split(std::string_view text, FileLine& line);

  std::string_view text_;
  size_t pos_ = 0;
  int line_number_ = 0;
  int broken_line_ = 0;
  std::string reason_;
};

// What the field at a place (counted from 1 after the tag) is called: "initial aspect";
// empty when it has no name.
using FieldNamer = std::function<std::string(int place)>;

// Why a named field's value is refused: "serial address count 9 is above 7"; a name that
// ends in a number keeps its value apart: "output byte 5 is 131, above 127".
std::string RefusedValueText(const std::string& name, const std::string& value, const std::string& why);

// Typed reads of the fields after a line's tag, in order. The first read that fails
// keeps its reason, the field named by the namer when it has a name ("initial aspect 256
// is above 255", "too few fields: description (field 4) is missing") and by its place
// otherwise ("field 3 is not a whole number: x").
class FieldCursor {
 public:
  explicit FieldCursor(const FileLine& line, FieldNamer namer = {}) : fields_(line.Fields), namer_(std::move(namer)) {}

  bool ReadText(std::string& value);
  bool ReadInteger(long min, long max, int& value);
  bool AtEnd() const { return next_ >= fields_.size(); }
  // True when every field of the line was read; otherwise the reason names the surplus.
  bool Finish();
  const std::string& Reason() const { return reason_; }

 private:
  bool Fail(std::string reason);
  std::string NameOf(size_t place) const;
  std::string MissingText() const;

  const std::vector<Field>& fields_;
  FieldNamer namer_;
  size_t next_ = 1;  // behind the tag
  std::string reason_;
};

// True when the field is the given tag: unquoted and equal character by character.
bool IsTag(const Field& field, std::string_view tag);

}  // namespace brixo
