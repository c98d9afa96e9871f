#pragma once
// The commands of brixo-cli: their synopsis and help, which arguments and flags each
// takes, and the function that runs it.
#include <span>
#include <string>
#include <vector>

#include "cli/cli_session.h"

namespace brixo {

struct CliCommand {
  const char* Name;
  const char* Arguments;  // synopsis after the name
  const char* Summary;    // its line in the command list
  const char* Help;       // lines of help, each ending with "\n"
  int MinArguments;
  int MaxArguments;
  unsigned Flags;         // CommandFlag bits the command takes
  bool NeedsController;
  int (*Run)(CliSession&);
};

std::span<const CliCommand> CliCommands();
// Whether the command, with these arguments, needs a controller (and so a port).
bool TalksToController(const CliCommand& command, const CliOptions& options);
const CliCommand* FindCliCommand(const std::string& name);

std::string CliUsage();
std::string CliCommandUsage(const CliCommand& command);

// The whole program: parses, runs the command and returns the exit status.
int RunCli(const std::vector<std::string>& args);

// Runners, one per command.
int RunPorts(CliSession& s);
int RunConvert(CliSession& s);
int RunVersion(CliSession& s);
int RunReadId(CliSession& s);
int RunWriteId(CliSession& s);
int RunReadAll(CliSession& s);
int RunWriteAll(CliSession& s);
int RunVerifyAll(CliSession& s);
int RunDiff(CliSession& s);
int RunReadPin(CliSession& s);
int RunWritePin(CliSession& s);
int RunReadEvents(CliSession& s);
int RunWriteEvents(CliSession& s);
int RunVerifyEvents(CliSession& s);
int RunVerifyPins(CliSession& s);
int RunErase(CliSession& s);
int RunAspect(CliSession& s);
int RunServo(CliSession& s);
int RunPwm(CliSession& s);
int RunTamlo(CliSession& s);
int RunLampTest(CliSession& s);
int RunClearAll(CliSession& s);
int RunReset(CliSession& s);
int RunMonitor(CliSession& s);
int RunScan(CliSession& s);
int RunBackup(CliSession& s);
int RunVerifyDir(CliSession& s);
int RunAddresses(CliSession& s);
int RunProgram(CliSession& s);
int RunSheet(CliSession& s);

}  // namespace brixo
