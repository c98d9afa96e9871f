#pragma once
// Long operations are not run inside the button handler: the handler shows the busy label
// (`LabelAction`), stores the command's name in `PendingCommand` and returns, so the label
// gets painted; the next tick of `Timer1` takes the name and runs the whole operation.
// One slot, no queue: a later post replaces a command that has not started yet.
#include <string>
#include <vector>

#include "transfer/changed_writes.h"
#include "transfer/transfer_context.h"

namespace brixo {

// What a command does to the controller, for what its stop means to the user.
enum class CommandKind { Read, Write, Verify };

// What the command that just ran tells about the controller as a whole.
enum class ControllerAfter {
  Unknown,        // nothing about the whole controller (a pin, a group, a read)
  Mixed,          // a whole write ended early: it holds part of the old and part of the new
  MatchesEditor,  // a whole write got through, or a whole comparison found no difference
};

// What an operation of this kind leaves behind when it ends early.
std::string StopConsequence(CommandKind kind, bool readIntoFile);

class DeferredCommands {
 public:
  explicit DeferredCommands(TransferContext& ctx) : ctx_(ctx) {}

  // Runs the command's check ("Select communications port" for the verify commands while
  // the port is closed, "Referral is not a device" for "WriteDevice"); when it passes,
  // shows the busy label and stores the name. False when refused or not a command name,
  // in which case nothing is posted and the label is left as it was.
  bool PostCommand(const std::string& name);
  // "Write Checked": posts the write of these parts, followed by a comparison.
  bool PostWriteChecked(const ChangedParts& parts);

  // The `Timer1` tick: takes the waiting command (clearing the slot first) and runs it to
  // its end. Nothing waiting: does nothing.
  void Tick();

  const std::string& PendingCommand() const { return pendingCommand_; }
  // The name of the command the last tick ran (or runs now).
  const std::string& LastCommand() const { return lastCommand_; }
  // Whether `LabelAction` is shown: from a successful post until the command has run.
  bool LabelActionVisible() const { return labelActionVisible_; }

  // The success flag of the operation the last tick ran.
  bool LastSucceeded() const { return lastSucceeded_; }
  // Whether the operation the last tick ran was stopped by the link's cancellation token,
  // and what a user is told about it: "Write All stopped after pin 12 of 32".
  bool LastStopped() const;
  std::string LastStoppedText() const;
  // The same words for the operation the last tick ran, whether it was stopped or ended
  // early of itself.
  std::string LastProgressText() const;
  // The same followed by what the early end leaves behind: "Read All stopped after pin 12
  // of 32: nothing was changed in the editor" (with `readIntoFile`: "nothing was saved").
  // An operation that words its own ending (Write Changes) is told in its words.
  std::string LastEndedEarlyText(bool readIntoFile = false) const;
  // The operation the last tick ran was stopped, or failed in a way it worded itself.
  bool LastEndedEarly() const;
  // The caption of the button behind the command the last tick ran ("Read All"), and what it does.
  std::string LastCaption() const;
  CommandKind LastKind() const;
  ControllerAfter LastControllerState() const;

  static bool IsCommandName(const std::string& name);
  // Every command name, in the order of the command table.
  static std::vector<std::string> CommandNames();

 private:
  TransferContext& ctx_;
  std::string pendingCommand_;
  bool labelActionVisible_ = false;
  bool lastSucceeded_ = false;
  std::string lastCommand_;
  ChangedParts checked_;
};

}  // namespace brixo
