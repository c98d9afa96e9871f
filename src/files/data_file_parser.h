#pragma once
// Reads and checks a whole data file before anything of it is applied.
#include <functional>
#include <string_view>
#include <vector>

#include "files/field_reader.h"
#include "files/file_record.h"

namespace brixo {

// True when the first field names a configuration file: the keyword, a blank and four
// characters.
bool IsDataFileHeader(std::string_view firstField);
// The numeric value of the header's last four characters (0 when they are no number).
int DataFileVersionOf(std::string_view firstField);

// Reads the records after the first field up to and including "End". False when the file
// ends before "End", a quote is not closed, a field does not fit its width or an index
// lies outside the model; `records` is then incomplete and must not be applied.
bool ReadDataRecords(FieldReader& reader, int version, std::vector<FileRecord>& records);
// The same, handing each record over as soon as it was read and checked; a reader that
// checks the whole file first and applies it in a second pass needs no record list.
bool ReadDataRecords(FieldReader& reader, int version, const std::function<void(FileRecord&&)>& take);

}  // namespace brixo
