#include "files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace brixo {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string LastError() { return std::strerror(errno); }

}  // namespace

bool ReadFileText(const std::string& path, std::string& text, std::string& error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    error = std::strerror(EISDIR);
    return false;
  }
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = LastError();
    return false;
  }
  text.clear();
  char buffer[8192];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, count);
  if (std::ferror(file.get())) {
    error = LastError();
    return false;
  }
  return true;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".saving.tmp"; }

bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error) {
  const std::string temporary = TemporaryPathFor(path);
  std::FILE* raw = std::fopen(temporary.c_str(), "wb");
  if (!raw) {
    error = LastError();
    return false;
  }
  bool written = std::fwrite(text.data(), 1, text.size(), raw) == text.size();
  if (!written) error = LastError();
  if (std::fflush(raw) != 0 && written) {
    error = LastError();
    written = false;
  }
  if (std::fclose(raw) != 0 && written) {
    error = LastError();
    written = false;
  }
  std::error_code ec;
  if (written) {
    // Keep the permissions of the file being replaced.
    auto status = std::filesystem::status(path, ec);
    if (!ec && std::filesystem::is_regular_file(status)) {
      std::filesystem::permissions(temporary, status.permissions(), ec);
    }
    std::filesystem::rename(temporary, path, ec);
    if (!ec) return true;
    error = ec.message();
  }
  std::filesystem::remove(temporary, ec);
  return false;
}

bool SaveComposedFile(UserPrompt& prompt, const std::string& path, std::string_view text, bool quotesReplaced) {
  std::string error;
  if (!ReplaceFileText(path, text, error)) {
    prompt.ShowMessage("Could not save " + path + ": " + error, MessageIcon::Warning);
    return false;
  }
  if (quotesReplaced) {
    prompt.ShowMessage("Double quotes in texts were saved as apostrophes", MessageIcon::Information);
  }
  return true;
}

}  // namespace brixo
