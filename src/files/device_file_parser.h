#pragma once
// Reads the definitions file line by line: its first line, the device names, and the
// checked records of one device. Every record is checked wherever it is read, so that a
// damaged line is named whichever pass meets it first.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/field_reader.h"
#include "files/file_problem.h"
#include "files/file_record.h"

namespace brixo {

// Reads the first line. A problem when it does not begin with the keyword or holds more
// than one field. `version` is the text after the keyword and one more character;
// `hasVersion` tells whether there is any.
std::optional<FileProblem> ReadDefinitionsHeader(LineReader& reader, bool& hasVersion, std::string& version);

// The names of all devices up to "End", every record on the way checked.
std::optional<FileProblem> ReadDeviceNames(LineReader& reader, std::vector<std::string>& names);

enum class DeviceSearch { Found, NotFound, Broken };
// Reads on to just behind the first device called `name`; `problem` tells why it is Broken.
DeviceSearch FindDevice(LineReader& reader, const std::string& name, FileProblem& problem);

// The device's records up to the next "Dev" or "End", each checked. A problem when the
// file ends first or a record does not fit; the records must then not be applied.
std::optional<FileProblem> ReadDeviceRecords(LineReader& reader, std::vector<FileRecord>& records);

}  // namespace brixo
