#pragma once
// A data file read into a configuration of its own, beside the editor: what "Compare with
// File..." and `brixo-cli diff A B` compare. The file is read onto a fresh start, as a run
// of the program that loads it sees it, so a compact file's missing pins are the defaults.
#include <optional>
#include <string>

#include "link/user_prompt.h"
#include "transfer/config_fields.h"

namespace brixo {

// Nothing when the file cannot be read or is no sound configuration file; the prompt has
// then said why ("Invalid configuration file", with the line and the reason). Numbers
// shown in the configuration's texts follow `numberingOffset`.
std::optional<Configuration> ReadConfigurationFile(const std::string& path, UserPrompt& prompt, int numberingOffset);

struct ComparedFile {
  std::string Path;
  Configuration Config;
};

}  // namespace brixo
