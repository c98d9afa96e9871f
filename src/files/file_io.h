#pragma once
// Whole-file reads and writes for the data and definitions files.
#include <string>
#include <string_view>

#include "link/user_prompt.h"

namespace brixo {

// Reads the whole file; on failure `error` names the reason.
bool ReadFileText(const std::string& path, std::string& text, std::string& error);

// Writes `text` to a temporary file beside `path` and renames it over `path` only when
// everything was written, so a failed save never destroys the previous file.
bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error);

// Saves a composed file with ReplaceFileText and tells the user what the save met: the
// reason it failed, or that double quotes had to become apostrophes.
bool SaveComposedFile(UserPrompt& prompt, const std::string& path, std::string_view text, bool quotesReplaced);

// The temporary file ReplaceFileText writes before the rename.
std::string TemporaryPathFor(const std::string& path);

}  // namespace brixo
