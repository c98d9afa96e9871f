#include "app/recent_files.h"

#include <algorithm>

namespace brixo {

std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path) {
  if (path.empty()) return files;
  files = WithoutRecentFile(std::move(files), path);
  files.insert(files.begin(), path);
  if (files.size() > kRecentFileCount) files.resize(kRecentFileCount);
  return files;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& path) {
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  return files;
}

}  // namespace brixo
