#pragma once
// Reads the definitions file: its first field, the device names, and the checked records
// of one device.
#include <string>
#include <string_view>
#include <vector>

#include "files/field_reader.h"
#include "files/file_record.h"

namespace brixo {

// Reads the first field. False when it does not begin with the keyword. `version` is the
// text after the keyword and one more character; `hasVersion` tells whether there is any.
bool ReadDefinitionsHeader(FieldReader& reader, bool& hasVersion, std::string& version);

// The names of all devices up to "End"; false when the file ends before "End".
bool ReadDeviceNames(FieldReader& reader, std::vector<std::string>& names);

enum class DeviceSearch { Found, NotFound, Broken };
// Reads on to just behind the first device called `name`.
DeviceSearch FindDevice(FieldReader& reader, const std::string& name);

// The device's records up to the next "Dev" or "End", each checked. False when the file
// ends first or a field does not fit; the records must then not be applied.
bool ReadDeviceRecords(FieldReader& reader, std::vector<FileRecord>& records);

}  // namespace brixo
