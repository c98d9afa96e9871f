#pragma once
// Whether the numbers of a read record are values the controller can hold, field by field
// as the field table describes them; shared by the data file and the definitions file.
#include <string_view>

#include "files/file_record.h"

namespace brixo {

// `tag` is the record's tag as the file writes it, `pin` the pin the record acts on (pin
// group records). False when a value is one that no controller can hold, so that loading
// it would change it on the way.
bool RecordValuesFit(std::string_view tag, const FileRecord& record, int version, int pin);

}  // namespace brixo
