#pragma once
// Whether the numbers of a read record are values the controller can hold, field by field
// as the field table describes them; shared by the data file and the definitions file.
#include <string>
#include <string_view>

#include "files/file_record.h"

namespace brixo {

// `tag` is the record's tag as the file writes it, `pin` the pin the record acts on (pin
// group records). Empty when every value is one a controller can hold; otherwise why the
// first that is not would be changed on its way ("serial addresses 13 is not a value a
// controller holds").
std::string RecordValueProblem(std::string_view tag, const FileRecord& record, int version, int pin);

}  // namespace brixo
