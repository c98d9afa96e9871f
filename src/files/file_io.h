#pragma once
// Whole-file reads and writes for the data and definitions files.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "link/user_prompt.h"

namespace brixo {

// A full configuration is about 30 kB; anything far beyond is no file of ours.
inline constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;
inline constexpr const char* kFileTooLarge = "file too large (over 16 MB)";

// Reads the whole of a regular file of at most kMaxFileBytes; on failure `error` names
// the reason. FIFOs, devices and directories are refused without reading them.
bool ReadFileText(const std::string& path, std::string& text, std::string& error);

// Why what lies at `path` may be neither read nor replaced as a file of ours; empty for a
// regular file, a symbolic link to one, or nothing at all (a save would create it). Lets
// a reader that cannot take the care ReadFileText takes (another library opening the file
// itself) keep away from FIFOs, devices and folders.
std::string RegularFileProblem(const std::string& path);

enum class SaveOutcome { Saved, Failed, Stopped };

// Asked once the new contents are complete on the disk, just before they take the old
// file's place: true stops the save there and leaves the old file as it was.
using StopBeforeReplacing = std::function<bool()>;

// Writes `text` to a temporary file of its own beside `path` (a new name, created
// exclusively, so that two saves at once never share one and nothing of that name is ever
// touched) and renames it over `path` only when everything was written, so a failed save
// never destroys the previous file. The new file takes the replaced one's owner, group and
// permissions as far as the system allows. A symbolic link is followed: the file it names
// is replaced and the link stays; a hard link keeps the old contents. Refused: anything
// but a regular file, and a file the user could not write himself (a read-only file).
// Saved only when the rename took place; Failed (with `error` set) or Stopped leave the
// previous file and no temporary file behind.
SaveOutcome ReplaceFileText(const std::string& path, std::string_view text, const StopBeforeReplacing& stop,
                            std::string& error);
inline bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error) {
  return ReplaceFileText(path, text, {}, error) == SaveOutcome::Saved;
}

// Saves a composed file with ReplaceFileText and tells the user what the save met: the
// reason it failed, or that double quotes had to become apostrophes. A stopped save is
// not told: whoever stopped it says so. True only when the file was saved.
bool SaveComposedFile(UserPrompt& prompt, const std::string& path, std::string_view text, bool quotesReplaced,
                      const StopBeforeReplacing& stop = {});

}  // namespace brixo
