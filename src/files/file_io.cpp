#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace brixo {
namespace {

constexpr int kMostLinksFollowed = 40;  // as the kernel does before ELOOP

std::string ErrorText(int error) { return std::strerror(error); }

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now; false (errno set) when the close reported an error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Why a file of this kind cannot be read or replaced as a configuration file; empty for a
// regular file.
std::string NotARegularFile(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return ErrorText(EISDIR);
  return "not a regular file";
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file a save through path really replaces: symbolic links followed to their end, so
// that the link stays a link and the file it names gets the new contents.
bool ResolveLinks(const std::string& path, std::string& target, std::string& error) {
  std::filesystem::path current = path;
  for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec))) {
      target = current.string();
      return true;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
    if (ec) {
      error = ec.message();
      return false;
    }
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  error = ErrorText(ELOOP);
  return false;
}

}  // namespace

bool ReadFileText(const std::string& path, std::string& text, std::string& error) {
  // Opening without blocking: a FIFO must not hang the program until a writer comes.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat info {};
  if (::fstat(file.Get(), &info) != 0) {
    error = ErrorText(errno);
    return false;
  }
  // A device or a FIFO may never end (/dev/zero), or never deliver.
  if (std::string why = NotARegularFile(info.st_mode); !why.empty()) {
    error = why;
    return false;
  }
  if (info.st_size > static_cast<off_t>(kMaxFileBytes)) {
    error = kFileTooLarge;
    return false;
  }
  ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
  text.clear();
  text.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = ErrorText(errno);
      return false;
    }
    if (n == 0) break;
    // A file that grows while it is read is held to the same limit.
    if (text.size() + static_cast<size_t>(n) > kMaxFileBytes) {
      error = kFileTooLarge;
      return false;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  return true;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".saving.tmp"; }

bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error) {
  std::string target;
  if (!ResolveLinks(path, target, error)) return false;

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (std::string why = NotARegularFile(existing.st_mode); !why.empty()) {
      error = why;
      return false;
    }
    // The rename needs only the folder's permission; a file its owner made read-only
    // must still not be replaced by someone who could not have written it.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      error = ErrorText(errno);
      return false;
    }
  }

  const std::string temporary = TemporaryPathFor(target);
  const mode_t mode = exists ? (existing.st_mode & 07777) : 0666;  // umask applies to a new file
  // A leftover of an interrupted save goes; whatever sits there is never written through.
  ::unlink(temporary.c_str());
  Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
  if (file.Get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  // Written, on the disk and closed before it replaces anything: a full disk or a crash
  // leaves the previous file as it was.
  bool written = WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0;
  if (!written) error = ErrorText(errno);
  // The replaced file's permissions, whatever the umask took away (a courtesy: a failure
  // here does not stop the save).
  if (exists && written) (void)::fchmod(file.Get(), existing.st_mode & 07777);
  if (!file.Close() && written) {
    error = ErrorText(errno);
    written = false;
  }
  if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
  if (written) error = ErrorText(errno);
  ::unlink(temporary.c_str());
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
