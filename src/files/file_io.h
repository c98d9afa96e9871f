#pragma once
// Whole-file reads and writes for the data and definitions files.
#include <string>
#include <string_view>

namespace brixo {

// Reads the whole file; on failure `error` names the reason.
bool ReadFileText(const std::string& path, std::string& text, std::string& error);

// Writes `text` to a temporary file beside `path` and renames it over `path` only when
// everything was written, so a failed save never destroys the previous file.
bool ReplaceFileText(const std::string& path, std::string_view text, std::string& error);

// The temporary file ReplaceFileText writes before the rename.
std::string TemporaryPathFor(const std::string& path);

}  // namespace brixo
