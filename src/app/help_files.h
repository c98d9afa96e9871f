#pragma once
// The files shipped with the program, looked for where the standard device library is
// looked for (beside the program, in its installed share folder, in the source tree): the
// README the Help menu shows and the demo configuration; and the text of the About box.
#include <string>

#include "app/program_version.h"

namespace brixo {

// The README's path, or empty when none is found.
std::string FindReadme(const std::string& programFolder);

// The demo configuration's path, or empty when none is found.
std::string FindDemoDataFile(const std::string& programFolder);

// The About box's text: the program, its version and its licence.
std::string AboutText();

}  // namespace brixo
