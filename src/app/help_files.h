#pragma once
// The demo configuration shipped with the program, looked for where the standard device
// library is looked for (beside the program, in its installed share folder, in the source
// tree); and the text of the About box. The user guide is found by app/user_guide.h.
#include <string>

#include "app/program_version.h"

namespace brixo {

// The demo configuration's path, or empty when none is found.
std::string FindDemoDataFile(const std::string& programFolder);

// The About box's text: the program, its version and its licence.
std::string AboutText();

}  // namespace brixo
