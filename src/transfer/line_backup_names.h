#pragma once
// The backup files of several lines in one folder: each name carries its line's tag in
// front of the controller's own name ("layout-pi_3333_module-03-Yard_West.dat"), so that
// modules of the same address on different lines neither overwrite nor stand for each other.
#include <optional>
#include <string>

#include "transfer/line_scan.h"

namespace brixo {

// The port's name as it may stand in a file name: a device by its path below /dev
// ("ttyUSB0", "pts_3"), a network port by host and port ("layout-pi_3333"); characters
// other than letters, digits, "-" and "." become "_".
std::string LineTag(const std::string& port);

// "TAG_module-..."; the name as it stands when the tag is empty.
std::string TaggedBackupFileName(const std::string& tag, const std::string& moduleFileName);

struct TaggedBackupFile {
  std::string Tag;  // empty for the name of a single line's backup
  BackupFileAddress Address;
};
// The tag and address of a backup file name, tagged or not; nothing for other names.
std::optional<TaggedBackupFile> ParseTaggedBackupFileName(const std::string& name);

}  // namespace brixo
