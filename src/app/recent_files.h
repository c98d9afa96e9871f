#pragma once
// The File menu's recent files: the newest first, each once, at most kRecentFileCount.
#include <string>
#include <vector>

namespace brixo {

inline constexpr size_t kRecentFileCount = 5;

// The list with path put first (moved there when it was listed already).
std::vector<std::string> WithRecentFile(std::vector<std::string> files, const std::string& path);
// The list without path.
std::vector<std::string> WithoutRecentFile(std::vector<std::string> files, const std::string& path);

}  // namespace brixo
