// Commands that read, write or verify the controller's stored configuration. Each one runs
// the operation behind the window's button, through the deferred commands where the
// window posts one.
#include <optional>

#include "app/configuration_file.h"
#include "cli/cli_commands.h"
#include "link/text_encoding.h"
#include "transfer/difference_table.h"
#include "transfer/general_settings_transfer.h"

namespace brixo {

namespace {

const std::string& FileArgument(CliSession& s) { return s.Options.Arguments.back(); }

// Tells how far an operation stopped by a link failure got (or one that worded how it
// ended early); true when it was stopped.
bool TellIfStopped(CliSession& s) {
  const DeferredCommands& commands = s.App.Commands();
  if (!commands.LastEndedEarly()) return false;
  s.Status.Write(EndedEarlyText(s) + "\n");
  return true;
}

// Runs a deferred command against the controller; the exit status. `clean` tells whether
// the operation got through: it returned true and no link failure stopped it (it may
// still have reported refused replies on the way). The operation ends at its first link
// failure, and the user is told how far it got.
int RunOnController(CliSession& s, const std::string& command, bool* clean = nullptr) {
  if (clean) *clean = false;
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  const bool ran = RunDeferredCommand(s, command);
  if (TellIfStopped(s)) return kExitFailed;
  if (clean) *clean = ran;
  return ControllerOutcome(s, ran, problems);
}

// Saves what a read brought in only when the read got through, so that an old backup is
// never replaced by an incomplete one. Refused replies on the way (a controller without
// event control, say) still give the failure status, but the read is whole.
int ReadThenSave(CliSession& s, const std::string& command, const std::string& path, bool compact) {
  bool clean = false;
  const int status = RunOnController(s, command, &clean);
  if (clean) {
    if (int saved = SaveOutput(s, path, compact)) return saved;
    return status;
  }
  // A stopped read has said so already; one that never started has nothing to say. One
  // that ended early of itself (a refused reply) is told in the same words.
  const DeferredCommands& commands = s.App.Commands();
  if (!commands.LastStopped() && !commands.LastCaption().empty()) {
    s.Status.Write(EndedEarlyText(s) + "\n");
  }
  return status != kExitOk ? status : kExitFailed;
}

// Loads FILE, then runs the verification command and prints its report, which names each
// difference it found, field by field. The exit status follows the verdict.
int RunVerification(CliSession& s, const std::string& command) {
  if (int status = LoadInput(s, FileArgument(s))) return status;
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  s.App.Report().Clear();
  const bool ran = RunDeferredCommand(s, command);
  std::string report = s.App.Report().Text;
  if (!report.empty() && report.back() != '\n') report += "\n";
  PrintOut(report);
  if (TellIfStopped(s)) return kExitFailed;
  return ControllerOutcome(s, ran && s.App.Report().Result.Ok, problems);
}

// Reads into the configuration of FILE (when it exists) and saves it once the read got through.
int ReadAndMerge(CliSession& s, const std::string& command) {
  if (int status = LoadIfPresent(s, FileArgument(s))) return status;
  return ReadThenSave(s, command, FileArgument(s), false);
}

int SelectPinArgument(CliSession& s) {
  int pin = 0;
  if (int status = PinArgument(s, s.Options.Arguments[0], pin)) return status;
  s.App.Model().CurrentPin = static_cast<uint8_t>(pin);
  return kExitOk;
}

// Connects and runs one of the General tab's operations.
int RunGeneral(CliSession& s, bool (*operation)(TransferContext&), std::string (*result)(CliSession&)) {
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  const bool ok = operation(s.App.Transfer());
  const int status = ControllerOutcome(s, ok, problems);
  if (status == kExitOk && result) PrintOut(result(s) + "\n");
  return status;
}

}  // namespace

int RunVersion(CliSession& s) {
  return RunGeneral(s, ReadVersion, [](CliSession& c) { return c.App.General().LabelGenVersionString; });
}

int RunReadId(CliSession& s) {
  return RunGeneral(s, ReadIdString, [](CliSession& c) { return c.App.General().TextGenIDString; });
}

// A controller holds seven-bit characters: any other is refused before anything is sent,
// whether Latin-1 could carry it or not.
int RunWriteId(CliSession& s) {
  const std::string& text = s.Options.Arguments[0];
  if (const std::string beyond = FirstNonAsciiCharacter(text); !beyond.empty()) {
    return UsageError(s, "a controller cannot hold " + beyond + ": its identification string takes only ASCII "
                         "characters. Nothing was written.");
  }
  s.App.General().TextGenIDString = text;
  return RunGeneral(s, WriteIdString, nullptr);
}

int RunReadAll(CliSession& s) { return ReadThenSave(s, "ReadAll", FileArgument(s), s.Options.Compact); }

int RunWriteAll(CliSession& s) {
  if (s.Options.ChangedOnly) return RunVerification(s, "WriteChanged");
  if (int status = LoadInput(s, FileArgument(s))) return status;
  return RunOnController(s, "WriteAll");
}

int RunVerifyAll(CliSession& s) { return RunVerification(s, "VerifyAll"); }

namespace {

std::string LinesOf(const std::vector<DifferenceRow>& rows, const SideNames& sides) {
  std::string lines;
  for (const std::string& line : DifferenceLines(rows, sides)) lines += line + "\n";
  return lines;
}

// Two files side by side, with no controller: A is the first, B the second.
int DiffFiles(CliSession& s) {
  std::optional<Configuration> configs[2];
  for (int i = 0; i < 2; ++i) {
    configs[i] = ReadConfigurationFile(s.Options.Arguments[i], s.Prompt, s.Offset());
    if (!configs[i]) return kExitUsage;
  }
  const std::vector<DifferenceRow> rows = DifferenceRows(configs[0]->Ref(), configs[1]->Ref());
  PrintOut(LinesOf(rows, {"A", "B"}));
  return rows.empty() ? kExitOk : kExitFailed;
}

}  // namespace

// The comparison behind "Compare", printed as its differences alone, one per line.
int RunDiff(CliSession& s) {
  if (s.Options.Arguments.size() == 2) return DiffFiles(s);
  if (int status = LoadInput(s, FileArgument(s))) return status;
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  const bool same = RunDeferredCommand(s, "Compare");
  const VerificationResult& result = s.App.Report().Result;
  const ConfigurationRef file{s.App.Model(), s.App.General(), s.App.Events()};
  PrintOut(LinesOf(DifferenceRows(result.Differences, file), kFileAndController));
  for (const FieldId& field : result.NotCompared)
    s.Status.Write(FieldLabel(field, file) + ": not compared, the file does not describe it\n");
  for (const VerificationResult::SkippedPart& skipped : result.Skipped) s.Status.Write(SkippedPartText(skipped) + "\n");
  if (TellIfStopped(s)) return kExitFailed;
  // A comparison that did not get through every part says how far it got.
  if (!same && !AllPartsGoneThrough(result, 3)) s.Status.Write(EndedEarlyText(s) + "\n");
  return ControllerOutcome(s, same, problems);
}

// Loading a file leaves the current pin as it is.
int RunReadPin(CliSession& s) {
  if (int status = SelectPinArgument(s)) return status;
  return ReadAndMerge(s, "ReadPin");
}

int RunWritePin(CliSession& s) {
  if (int status = SelectPinArgument(s)) return status;
  if (int status = LoadInput(s, FileArgument(s))) return status;
  return RunOnController(s, "WritePin");
}

int RunReadEvents(CliSession& s) { return ReadAndMerge(s, "ECReadAll"); }

int RunWriteEvents(CliSession& s) {
  if (int status = LoadInput(s, FileArgument(s))) return status;
  return RunOnController(s, "ECWriteAll");
}

int RunVerifyEvents(CliSession& s) { return RunVerification(s, "ECVerify"); }
int RunVerifyPins(CliSession& s) { return RunVerification(s, "VerifyAllPins"); }

int RunErase(CliSession& s) {
  if (int status = Connect(s)) return status;
  const int problems = s.Prompt.Problems();
  const bool sent = EraseFlash(s.App.Transfer());
  if (!sent && s.Prompt.Declined()) s.Status.Write("The configuration memory was not erased.\n");
  return ControllerOutcome(s, sent, problems);
}

}  // namespace brixo
