#include "files/save_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace brixo {

std::string PrepareSaveFolder(const std::string& folder, std::vector<std::string>& made) {
  namespace fs = std::filesystem;
  made.clear();
  const fs::path target = fs::path(folder).lexically_normal();
  fs::path level;
  for (const fs::path& part : target) {
    level /= part;
    std::error_code ec;
    const fs::file_status status = fs::status(level, ec);
    if (fs::is_directory(status)) continue;
    if (fs::exists(status)) {
      RemoveMadeFolders(made);
      made.clear();
      if (level == target) return folder + " is a file, not a folder";
      return "cannot make the folder " + folder + ": " + level.string() + " is a file";
    }
    if (!fs::create_directory(level, ec) && ec) {
      RemoveMadeFolders(made);
      made.clear();
      return "cannot make the folder " + folder + ": " + ec.message();
    }
    made.push_back(level.string());
  }
  // Permissions, a read-only file system, a full inode table: only creating a file tells.
  std::string probe = (target / ".brixo-save-test-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) {
    const std::string reason = std::strerror(errno);
    RemoveMadeFolders(made);
    made.clear();
    return "cannot save files in " + folder + ": " + reason;
  }
  ::close(fd);
  ::unlink(probe.c_str());
  return {};
}

void RemoveMadeFolders(const std::vector<std::string>& made) {
  for (auto level = made.rbegin(); level != made.rend(); ++level) {
    std::error_code ec;
    // remove() takes only an empty folder.
    if (!std::filesystem::remove(*level, ec)) return;
  }
}

}  // namespace brixo
