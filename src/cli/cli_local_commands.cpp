// Commands that need no controller: the port list and data file conversion.
#include "cli/cli_commands.h"

namespace brixo {

int RunPorts(CliSession& s) {
  for (const std::string& item : s.App.Ports().ComboPortItems()) PrintOut(item + "\n");
  return kExitOk;
}

int RunConvert(CliSession& s) {
  if (int status = LoadInput(s, s.Options.Arguments[0])) return status;
  return SaveOutput(s, s.Options.Arguments[1], s.Options.Compact);
}

}  // namespace brixo
