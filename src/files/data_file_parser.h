#pragma once
// Reads and checks a whole data file before anything of it is applied.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/field_reader.h"
#include "files/file_problem.h"
#include "files/file_record.h"

namespace brixo {

// True when the first field names a configuration file: the keyword, a blank and four
// characters.
bool IsDataFileHeader(std::string_view firstField);
// Reads the first line, which must hold the header alone; `version` is then its number.
std::optional<FileProblem> ReadDataFileHeader(LineReader& reader, int& version);
// The numeric value of the header's last four characters (0 when they are no number).
int DataFileVersionOf(std::string_view firstField);

// A line whose tag is unknown was skipped, and the pin group records after it then landed
// where earlier records of the pin before had landed already: most likely a mistyped "Pin"
// ("Pif,24"), whose pin's settings went to the previous pin.
struct SkippedLineWarning {
  int Line = 0;  // the skipped line
  std::string Tag;
  int LandingLine = 0;  // the first record after it that landed on the previous pin
  int Pin = 0;          // that pin, internal number
  int Aspect = -1;      // and its aspect, when the record was a step of one
};

// Reads the records after the first line up to and including "End", one per line. A
// problem (without the file's name) when the file ends before "End", a line is broken,
// holds too few or too many fields for its record, a field does not fit its width or an
// index lies outside the model; `records` is then incomplete and must not be applied. A
// line whose tag is unknown is skipped whole: newer files may carry records older
// readers do not know; `warnings`, when given, gets the skips that look like mistakes.
std::optional<FileProblem> ReadDataRecords(LineReader& reader, int version, std::vector<FileRecord>& records);
// The same, handing each record over as soon as it was read and checked; a reader that
// checks the whole file first and applies it in a second pass needs no record list.
std::optional<FileProblem> ReadDataRecords(LineReader& reader, int version,
                                           const std::function<void(FileRecord&&)>& take,
                                           std::vector<SkippedLineWarning>* warnings = nullptr);

}  // namespace brixo
