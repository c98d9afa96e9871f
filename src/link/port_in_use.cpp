#include "link/port_in_use.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace brixo {

namespace {

namespace fs = std::filesystem;

bool Alive(int pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

std::string ProgramOf(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(in, name);
  return name;
}

std::string ReadSmallFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string content(64, '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<size_t>(in.gcount()));
  return content;
}

std::optional<int> NumberOf(std::string_view name) {
  if (name.empty() || name.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The process holding a flock() lock on the device ("1: FLOCK  ADVISORY  WRITE 4242
// 00:19:5 0 EOF": the file system's device numbers in hex and the inode).
std::optional<int> ProcessWithLock(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return std::nullopt;
  char id[64];
  std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(info.st_dev), minor(info.st_dev),
                static_cast<unsigned long>(info.st_ino));
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, file;
    int pid = 0;
    if (fields >> number >> kind >> mode >> access >> pid >> file && kind == "FLOCK" && file == id && pid > 0 &&
        pid != static_cast<int>(::getpid()))
      return pid;
  }
  return std::nullopt;
}

// A process other than this one with the device among its open files.
std::optional<int> ProcessWithOpen(const fs::path& device) {
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) return std::nullopt;
  const int self = static_cast<int>(::getpid());
  for (fs::directory_iterator process("/proc", error), end; !error && process != end; process.increment(error)) {
    const std::optional<int> pid = NumberOf(process->path().filename().string());
    if (!pid || *pid == self) continue;
    std::error_code fdError;
    for (fs::directory_iterator fd(process->path() / "fd", fdError); !fdError && fd != end; fd.increment(fdError)) {
      std::error_code linkError;
      if (fs::read_symlink(fd->path(), linkError) == target && !linkError) return pid;
    }
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& SerialLockFolders() {
  static const std::vector<std::string> folders{"/var/lock", "/run/lock", "/etc/locks", "/var/spool/locks",
                                                "/var/spool/uucp", "/tmp", "/var/tmp"};
  return folders;
}

std::string LockFileName(const std::string& device) {
  std::string name = device.rfind("/dev/", 0) == 0 ? device.substr(5) : fs::path(device).filename().string();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return "LCK.." + name;
}

std::optional<int> LockFilePid(std::string_view content) {
  size_t at = content.find_first_not_of(' ');
  const size_t digits = at == std::string_view::npos ? at : content.find_first_not_of("0123456789", at);
  const bool text = at != std::string_view::npos && digits != at &&
                    (digits == std::string_view::npos || content[digits] == '\n' || content[digits] == ' ');
  if (text) {
    const std::optional<int> pid = NumberOf(content.substr(at, digits - at));
    return pid && *pid > 0 ? pid : std::nullopt;
  }
  if (content.size() == sizeof(int32_t)) {
    int32_t pid = 0;
    std::memcpy(&pid, content.data(), sizeof pid);
    if (pid > 0) return pid;
  }
  return std::nullopt;
}

std::optional<PortHolder> FindPortHolder(const std::string& device, const std::vector<std::string>& lockFolders) {
  const std::string lockName = LockFileName(device);
  for (const std::string& folder : lockFolders) {
    const std::optional<int> pid = LockFilePid(ReadSmallFile(fs::path(folder) / lockName));
    if (pid && *pid != static_cast<int>(::getpid()) && Alive(*pid)) return PortHolder{*pid, ProgramOf(*pid)};
  }
  if (const std::optional<int> pid = ProcessWithLock(device)) return PortHolder{*pid, ProgramOf(*pid)};
  if (const std::optional<int> pid = ProcessWithOpen(device)) return PortHolder{*pid, ProgramOf(*pid)};
  return std::nullopt;
}

std::string PortInUseText(const std::string& device, const std::optional<PortHolder>& holder) {
  std::string text = "Communications port " + device + " is in use by ";
  if (!holder) return text + "another program";
  const std::string process = "process " + std::to_string(holder->Pid);
  return text + (holder->Program.empty() ? "another program (" + process + ")" : holder->Program + " (" + process + ")");
}

}  // namespace brixo
