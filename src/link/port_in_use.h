#pragma once
// Telling the user that another program holds a serial device, and which one. Programs
// that share serial devices leave a lock file ("/var/lock/LCK..ttyUSB0") holding their
// process number; others only keep the device open, exclusively (TIOCEXCL) or under a
// flock() lock. A refusal for any of these is no matter of permissions: joining a group
// would not help, closing the other program does.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brixo {

struct PortHolder {
  int Pid = 0;
  std::string Program;  // the process's name; empty when it cannot be read
};

// The folders where lock files of serial devices are kept, in the order they are looked at.
const std::vector<std::string>& SerialLockFolders();

// "/dev/ttyUSB0" → "LCK..ttyUSB0"; "/dev/pts/3" → "LCK..pts_3".
std::string LockFileName(const std::string& device);

// The process number a lock file holds: as text (padded or not, with more lines after it)
// or, from old programs, as a binary number of four bytes. Nothing for anything else.
std::optional<int> LockFilePid(std::string_view content);

// Who holds the device: a living process named by its lock file in one of `lockFolders`,
// else the process holding a flock() lock on it, else a process (other than this one) that
// has the device open, as far as this user may see. Nothing when none can be told.
std::optional<PortHolder> FindPortHolder(const std::string& device,
                                         const std::vector<std::string>& lockFolders = SerialLockFolders());

// "Communications port /dev/ttyUSB0 is in use by minicom (process 4242)"; without a known
// holder, "… is in use by another program".
std::string PortInUseText(const std::string& device, const std::optional<PortHolder>& holder);

}  // namespace brixo
