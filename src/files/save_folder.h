#pragma once
// A folder that files are about to be saved into, made ready before any work whose result
// it is to hold: made when it is missing, and tried by creating a file in it, so that a
// folder that cannot take the files fails at once instead of after the work.
#include <string>
#include <vector>

namespace brixo {

// Makes the folder and any folder above it that is missing, and creates (and removes) a
// file in it. `made` gets the folders made, outermost first. Empty when files can be saved
// there; otherwise why not ("cannot save files in /x: Permission denied"), and nothing
// it made is left.
std::string PrepareSaveFolder(const std::string& folder, std::vector<std::string>& made);

// Removes the folders PrepareSaveFolder made, innermost first, as long as they are empty:
// a folder that holds anything, or that was there before, stays.
void RemoveMadeFolders(const std::vector<std::string>& made);

}  // namespace brixo
