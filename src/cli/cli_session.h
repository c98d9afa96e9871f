#pragma once
// One run of brixo-cli: the options, the application state and the terminal, with the
// steps every command shares (connecting as the link options say, numbers as displayed,
// data files in and out, and the exit status).
#include <functional>
#include <string>

#include "app/app_state.h"
#include "cli/cli_options.h"
#include "cli/cli_terminal.h"

namespace brixo {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the controller exchange or a verification failed
constexpr int kExitUsage = 2;   // bad usage, unreadable file, unusable port
constexpr int kExitInterrupted = 130;  // stopped by Ctrl-C or SIGTERM, as a shell counts SIGINT

struct CliSession {
  const CliOptions& Options;
  AppState& App;
  TerminalPrompt& Prompt;
  StatusLine& Status;
  // Set when this session is one of several lines worked at once: the line's backup files
  // carry this tag, and only its own are verified.
  std::string LineTag;
  // Set by a command whose work was done whole although a stop came: the stop came too
  // late to leave anything as it was, so the run ends as a success.
  bool Completed = false;

  int Offset() { return App.Model().NumberingOffset; }
};

// "brixo-cli: <text>" on standard error; returns kExitUsage.
int UsageError(CliSession& s, const std::string& text);

// Option combinations and numbers that can be judged before anything is opened.
int CheckLinkOptions(CliSession& s);
// --module and --xaddr: within the numbering's ranges, and given to the link as its address
// fields take them (the addresses the pins answer to follow them).
int CheckAddressOptions(CliSession& s);
void ApplyAddressOptions(CliSession& s);
// Opens the port (after CheckLinkOptions passed) and applies the link options (bit rate, transparent mode, tunnelling,
// bidirectional switch, module and extended address). kExitOk when the controller can be
// talked to, otherwise the exit status.
int Connect(CliSession& s);

// A number as displayed, within first .. first + count - 1, turned into its internal value.
bool DisplayedNumber(CliSession& s, const std::string& text, int count, int& internal);
// A pin argument; on failure the usage error has been shown (the result is then kExitUsage).
int PinArgument(CliSession& s, const std::string& text, int& pin);
// A legacy module argument (0..31 internally); the module address when text is empty.
int ModuleArgument(CliSession& s, const std::string& text, int& module);
// A whole number within low .. high.
int NumberArgument(CliSession& s, const std::string& what, const std::string& text, int low, int high, int& value);

// Loads a data file into the configuration; kExitUsage when it cannot be read.
int LoadInput(CliSession& s, const std::string& path);
// The same when the file exists; a missing file leaves the start-up configuration.
int LoadIfPresent(CliSession& s, const std::string& path);
// Saves the configuration; kExitUsage when the file cannot be written. `stop` is asked
// just before the file replaces what was there (see ReplaceFileText).
int SaveOutput(CliSession& s, const std::string& path, bool compact, const std::function<bool()>& stop = {});

// The exit status of controller work: kExitOk only when it succeeded and no problem was
// reported since `problemsBefore`.
int ControllerOutcome(CliSession& s, bool ok, int problemsBefore);

// Ctrl-C or SIGTERM came: every later operation of this run stops at its first exchange.
bool Interrupted(CliSession& s);

// Posts a deferred command as its button does and runs it, as the next timer tick would.
bool RunDeferredCommand(CliSession& s, const std::string& name);
// How far the deferred command the last tick ran got, and what that leaves behind, for one
// that ended early: "Read All stopped after pin 12 of 32: nothing was saved".
std::string EndedEarlyText(CliSession& s);


// Writes text (with "\r\n" turned into "\n") to standard output.
void PrintOut(const std::string& text);
// The same for a session, which may be one of several lines whose output is kept apart.
void PrintOut(CliSession& s, const std::string& text);

}  // namespace brixo
