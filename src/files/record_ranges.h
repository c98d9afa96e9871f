#pragma once
// Whether the numbers of a read record are values the controller can hold, field by field
// as the field table describes them, and what each field of a record is called; shared by
// the data file and the definitions file.
#include <string>
#include <string_view>

#include "files/file_record.h"

namespace brixo {

// `tag` is the record's tag as the data file writes it, `pin` the pin the record acts on
// (pin group records). Empty when every value is one a controller can hold; otherwise why
// the first that is not would be changed on its way, the field named as the field table
// names it ("serial address count 9 is above 7").
std::string RecordValueProblem(std::string_view tag, const FileRecord& record, int version, int pin);

// The field table's name of the field at `place` (counted from 1 after the tag) of a
// record with this data-file tag in a file of this version: "DCC address count",
// "output byte 3", "input 2 ON". Empty for a place the table does not describe (the pin,
// aspect and step numbers that say where a record belongs).
std::string RecordFieldName(std::string_view tag, int place, int version);

}  // namespace brixo
