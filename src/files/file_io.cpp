#include "files/file_io.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace brixo {
namespace {

constexpr int kMostLinksFollowed = 40;  // as the kernel does before ELOOP
constexpr const char* kTemporarySuffix = ".saving.tmp";
constexpr size_t kNameRoom = 200;  // of a name's 255 bytes, what the temporary name keeps of the target's
constexpr int kNameTries = 100;

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

// "<name>.<six letters>.saving.tmp" beside the target, made anew: O_EXCL never opens what
// is there already, and O_NOFOLLOW never writes through a link someone put in its place.
// `mode` is the new file's permissions before the umask.
int CreateTemporaryFile(const std::string& target, mode_t mode, std::string& temporary) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const std::filesystem::path path(target);
  const std::string name = path.filename().string().substr(0, kNameRoom);
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) return -1;
    std::string unique = name + ".";
    for (unsigned char r : random) unique += kLetters[r % (sizeof kLetters - 1)];
    temporary = (path.parent_path() / (unique + kTemporarySuffix)).string();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The replaced file's owner, group and permissions, whatever the umask took away. Only
// root may give a file away; anyone may give it one of his own groups. What the system
// refuses stays as created: the contents are still saved.
void TakeOwnershipOf(int fd, const struct stat& replaced) {
  if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
  // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
  (void)::fchmod(fd, replaced.st_mode & 07777);
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

SaveOutcome ReplaceFileText(const std::string& path, std::string_view text, const StopBeforeReplacing& stop,
                            std::string& error) {
  std::string target;
  if (!ResolveLinks(path, target, error)) return SaveOutcome::Failed;

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (std::string why = NotARegularFile(existing.st_mode); !why.empty()) {
      error = why;
      return SaveOutcome::Failed;
    }
    // The rename needs only the folder's permission; a file its owner made read-only
    // must still not be replaced by someone who could not have written it.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
      error = ErrorText(errno);
      return SaveOutcome::Failed;
    }
  }

  std::string temporary;
  // A new file gets what the umask leaves of 0666; a replacement is kept to its owner until
  // it has the replaced file's owner and permissions.
  Descriptor file(CreateTemporaryFile(target, exists ? 0600 : 0666, temporary));
  if (file.Get() < 0) {
    error = ErrorText(errno);
    return SaveOutcome::Failed;
  }
  // Written, on the disk and closed before it replaces anything: a full disk or a crash
  // leaves the previous file as it was.
  bool written = WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0;
  if (!written) error = ErrorText(errno);
  if (exists && written) TakeOwnershipOf(file.Get(), existing);
  if (!file.Close() && written) {
    error = ErrorText(errno);
    written = false;
  }
  SaveOutcome outcome = SaveOutcome::Failed;
  if (written && stop && stop()) {
    outcome = SaveOutcome::Stopped;
  } else if (written) {
    if (::rename(temporary.c_str(), target.c_str()) == 0) return SaveOutcome::Saved;
    error = ErrorText(errno);
  }
  ::unlink(temporary.c_str());
  return outcome;
}

std::string RegularFileProblem(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return NotARegularFile(info.st_mode);
  const int error = errno;
  // Nothing there at all; a link that names nothing would have a file made where it points.
  if (error == ENOENT && ::lstat(path.c_str(), &info) != 0) return {};
  return error == ENOENT ? "a link to nothing" : ErrorText(error);
}

bool SaveComposedFile(UserPrompt& prompt, const std::string& path, std::string_view text, bool quotesReplaced,
                      const StopBeforeReplacing& stop) {
  std::string error;
  const SaveOutcome outcome = ReplaceFileText(path, text, stop, error);
  if (outcome == SaveOutcome::Stopped) return false;
  if (outcome == SaveOutcome::Failed) {
    prompt.ShowMessage("Could not save " + path + ": " + error, MessageIcon::Warning);
    return false;
  }
  if (quotesReplaced) {
    prompt.ShowMessage("Double quotes in texts were saved as apostrophes", MessageIcon::Information);
  }
  return true;
}

}  // namespace brixo
