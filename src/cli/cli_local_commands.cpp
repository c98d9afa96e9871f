// Commands that need no controller: the port list and data file conversion.
#include "cli/cli_commands.h"

namespace brixo {

int RunPorts(CliSession& s) {
  for (const std::string& item : s.App.Ports().ComboPortItems()) PrintOut(item + "\n");
  return kExitOk;
}

// Ctrl-C either comes in time to leave OUT as it was, or the conversion is complete; it
// says which.
int RunConvert(CliSession& s) {
  const std::string& out = s.Options.Arguments[1];
  if (int status = LoadInput(s, s.Options.Arguments[0])) return status;
  bool stopped = false;
  const int status = SaveOutput(s, out, s.Options.Compact, [&s, &stopped] { return stopped = Interrupted(s); });
  if (stopped) {
    s.Status.Write("Stopped: " + out + " was left as it was.\n");
    return kExitInterrupted;
  }
  if (status != kExitOk) return status;
  s.Completed = true;
  if (Interrupted(s)) s.Status.Write("Stopped too late: " + out + " was saved whole.\n");
  return status;
}

}  // namespace brixo
