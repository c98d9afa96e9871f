#pragma once
// A fresh folder per test, removed afterwards: tests that ctest runs side by side never
// share a file.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace brixo::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "brixo_test_XXXXXX";
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace brixo::testing
