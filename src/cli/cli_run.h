#pragma once
// One line worked by one session of brixo-cli: the application state built as the options
// say, the command run in it. brixo-cli on one line runs one such session; on several
// lines, one per line, each in its own thread with nothing shared but the log file.
#include <cstdio>
#include <functional>
#include <string>

#include "cli/cli_commands.h"
#include "link/cancellation_token.h"

namespace brixo {

struct LineSetup {
  StatusLine& Status;
  bool StdinIsTerminal = false;
  // Where --log FILE goes; null with --log - (standard error, through Status).
  std::FILE* LogFile = nullptr;
  // Put before each line of the log, when several lines share its file.
  std::string LogPrefix;
  // The tag of this line's backup files when several lines are worked at once; empty otherwise.
  std::string LineTag;
  // Told the token of the command's operations once the session has one, and null before
  // it goes, so that a signal can stop it.
  std::function<void(CancellationToken*)> WatchToken;
};

// Needs the Qt runtime of the program to exist.
int RunOnOneLine(const CliCommand& command, const CliOptions& options, const LineSetup& setup);

}  // namespace brixo
