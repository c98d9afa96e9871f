#pragma once
// Whole-file reads and writes for the data and definitions files.
#include <cstddef>
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

// Writes `text` to a temporary file beside `path` and renames it over `path` only when
// everything was written, so a failed save never destroys the previous file. A symbolic
// link is followed: the file it names is replaced and the link stays. Refused: anything
// but a regular file, and a file the user could not write himself (a read-only file).
bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error);

// Saves a composed file with ReplaceFileText and tells the user what the save met: the
// reason it failed, or that double quotes had to become apostrophes.
bool SaveComposedFile(UserPrompt& prompt, const std::string& path, std::string_view text, bool quotesReplaced);

// The temporary file ReplaceFileText writes before the rename.
std::string TemporaryPathFor(const std::string& path);

}  // namespace brixo
