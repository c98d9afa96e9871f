#include "transfer/deferred_commands.h"

#include <array>
#include <utility>

#include "model/device_membership.h"
#include "transfer/event_control.h"
#include "transfer/event_control_transfer.h"
#include "transfer/pin_transfer.h"
#include "transfer/whole_sequences.h"

namespace brixo {

namespace {

enum class PostCheck { None, PortOpen, DeviceHead };

void HideBusy(TransferContext& ctx) { ctx.View.SetBusy(false); }

bool RunReadPin(TransferContext& ctx) {
  const bool ok = ReadPinComplete(ctx, ctx.Model.CurrentPin);
  RefreshPinViews(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunWritePin(TransferContext& ctx) {
  const bool ok = WritePinComplete(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
  return ok;
}

bool RunReadDevice(TransferContext& ctx) {
  const bool ok = ReadDeviceOfPin(ctx, ctx.Model.CurrentPin);
  RefreshPinViews(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunWriteDevice(TransferContext& ctx) {
  const bool ok = WriteDeviceOfPin(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
  return ok;
}

bool RunReadAllPins(TransferContext& ctx) {
  const bool ok = ReadAllPinsLoop(ctx);
  RefreshPinViews(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunWriteAllPins(TransferContext& ctx) {
  const bool ok = WriteAllPinsLoop(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunReadAspects(TransferContext& ctx) {
  const bool ok = ReadPinProgram(ctx, ctx.Model.CurrentPin);
  if (ok) {
    ctx.View.ShowPin();
    ctx.View.ShowAddressCounts();
  }
  HideBusy(ctx);
  return ok;
}

bool RunWriteAspects(TransferContext& ctx) {
  const bool ok = WritePinProgram(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
  return ok;
}

bool RunVerifyAll(TransferContext& ctx) { return VerifyAllSequence(ctx).Ok; }
bool RunCompare(TransferContext& ctx) { return CompareAllSequence(ctx).Ok; }

bool RunVerifyAllPins(TransferContext& ctx) {
  ctx.Report.Clear();
  ctx.Report.Result = VerifyPins(ctx);
  CloseVerificationReport(ctx.Report, 1, {ctx.Model, ctx.General, ctx.Events});
  HideBusy(ctx);
  ctx.View.ShowReport();
  return ctx.Report.Result.Ok;
}

bool RunWriteEvents(TransferContext& ctx) {
  const bool ok = WriteEventControl(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunReadEvents(TransferContext& ctx) {
  const bool ok = ReadEventControl(ctx);
  HideBusy(ctx);
  return ok;
}

bool RunVerifyEvents(TransferContext& ctx) {
  ctx.Report.Clear();
  ctx.Report.Result = VerifyEventControl(ctx);
  CloseVerificationReport(ctx.Report, 1, {ctx.Model, ctx.General, ctx.Events});
  HideBusy(ctx);
  ctx.View.ShowReport();
  return ctx.Report.Result.Ok;
}

// How a read takes what it brought in.
enum class Takes {
  AsItGoes,      // one pin: each pin is taken whole or not at all
  WhenComplete,  // several pieces: all of them once every one was read, or nothing
};

struct Command {
  const char* Name;
  const char* Caption;  // the button's caption
  CommandKind Kind;
  PostCheck Check;
  bool (*Run)(TransferContext&);
  Takes Taking = Takes::AsItGoes;
  // A command that works on the parts the user checked runs this instead.
  bool (*RunChecked)(TransferContext&, const ChangedParts&) = nullptr;
};

constexpr std::array<Command, 18> kCommands{{
    {"ReadAll", "Read All", CommandKind::Read, PostCheck::None, ReadAllSequence, Takes::WhenComplete},
    {"WriteAll", "Write All", CommandKind::Write, PostCheck::None, WriteAllSequence},
    {"VerifyAll", "Verify All", CommandKind::Verify, PostCheck::PortOpen, RunVerifyAll},
    {"ReadPin", "Read Pin", CommandKind::Read, PostCheck::None, RunReadPin},
    {"WritePin", "Write Pin", CommandKind::Write, PostCheck::None, RunWritePin},
    {"ReadDevice", "Read Device", CommandKind::Read, PostCheck::None, RunReadDevice, Takes::WhenComplete},
    {"WriteDevice", "Write Device", CommandKind::Write, PostCheck::DeviceHead, RunWriteDevice},
    {"ReadAllPins", "Read All Devices", CommandKind::Read, PostCheck::None, RunReadAllPins, Takes::WhenComplete},
    {"WriteAllPins", "Write All Devices", CommandKind::Write, PostCheck::None, RunWriteAllPins},
    {"PAspReadPin", "Read Asp's", CommandKind::Read, PostCheck::None, RunReadAspects},
    {"PAspWritePin", "Write Asp's", CommandKind::Write, PostCheck::None, RunWriteAspects},
    {"VerifyAllPins", "Verify All Pins", CommandKind::Verify, PostCheck::PortOpen, RunVerifyAllPins},
    {"ECWriteAll", "Write All Events", CommandKind::Write, PostCheck::None, RunWriteEvents},
    {"ECReadAll", "Read All Events", CommandKind::Read, PostCheck::None, RunReadEvents, Takes::WhenComplete},
    {"ECVerify", "Verify Event Control", CommandKind::Verify, PostCheck::PortOpen, RunVerifyEvents},
    {"Compare", "Compare", CommandKind::Verify, PostCheck::PortOpen, RunCompare},
    {"WriteChanged", "Write Changes", CommandKind::Write, PostCheck::PortOpen, WriteChangedSequence},
    {"WriteChecked", "Write Checked", CommandKind::Write, PostCheck::PortOpen, nullptr, Takes::AsItGoes,
     WriteCheckedSequence},
}};

// Runs a read into copies of the editor's configuration and takes them only when the read
// got through, so that the editor never holds a mix of the controller and what it held.
bool RunIntoScratch(TransferContext& ctx, bool (*run)(TransferContext&)) {
  ConfigModel model = ctx.Model;
  AddressMaps maps = ctx.Maps;
  GeneralSettings general = ctx.General;
  EventControlState events = ctx.Events;
  TransferContext scratch{ctx.Link, model, maps, general, events, ctx.Report, ctx.View};
  const bool ok = run(scratch) && !ctx.Stopping();
  if (ok) {
    ctx.Model = model;
    ctx.Maps = maps;
    ctx.General = general;
    ctx.Events = events;
  }
  // The views showed the editor while the copies were filled; they show what it holds now.
  ctx.View.ShowGeneralSettings();
  ShowEventPin(ctx.Events, ctx.View);
  RefreshPinViews(ctx);
  return ok;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.Name) return &command;
  }
  return nullptr;
}

bool CheckPasses(TransferContext& ctx, PostCheck check) {
  switch (check) {
    case PostCheck::None:
      return true;
    case PostCheck::PortOpen:
      if (ctx.Link.PortOpen()) return true;
      ctx.Prompt().ShowMessage("Select communications port");
      return false;
    case PostCheck::DeviceHead:
      if (IsValidPin(ctx.Model.CurrentPin) && RefersToDevice(ctx.Model.PinTable, ctx.Model.CurrentPin)) return true;
      ctx.Prompt().ShowMessage("Referral is not a device", MessageIcon::Warning);
      return false;
  }
  return false;
}

}  // namespace

bool DeferredCommands::IsCommandName(const std::string& name) { return FindCommand(name) != nullptr; }

std::vector<std::string> DeferredCommands::CommandNames() {
  std::vector<std::string> names;
  for (const Command& command : kCommands) names.emplace_back(command.Name);
  return names;
}

bool DeferredCommands::PostCommand(const std::string& name) {
  const Command* command = FindCommand(name);
  // A name nothing would run must not leave the busy label up for good.
  if (command == nullptr || !CheckPasses(ctx_, command->Check)) return false;
  labelActionVisible_ = true;
  ctx_.View.SetBusy(true);
  pendingCommand_ = name;
  return true;
}

bool DeferredCommands::PostWriteChecked(const ChangedParts& parts) {
  if (!PostCommand("WriteChecked")) return false;
  checked_ = parts;
  return true;
}

void DeferredCommands::Tick() {
  const std::string name = pendingCommand_;
  pendingCommand_.clear();
  const Command* command = FindCommand(name);
  if (command == nullptr) return;
  lastCommand_ = name;
  {
    CancellationScope scope(ctx_.Link.Cancellation());
    if (command->RunChecked != nullptr)
      lastSucceeded_ = command->RunChecked(ctx_, std::exchange(checked_, ChangedParts{}));
    else
      lastSucceeded_ = command->Taking == Takes::WhenComplete ? RunIntoScratch(ctx_, command->Run) : command->Run(ctx_);
  }
  labelActionVisible_ = false;
  // A read that took nothing says so, unless the owner of the operation tells it itself or
  // the user stopped it (the stop is told where it was asked for).
  const CancellationToken& token = ctx_.Link.Cancellation();
  if (!lastSucceeded_ && command->Taking == Takes::WhenComplete && !token.OwnerTellsProgress() &&
      token.Reason() != StopReason::UserStop)
    ctx_.Prompt().ShowMessage(LastEndedEarlyText());
}

bool DeferredCommands::LastStopped() const {
  return !lastCommand_.empty() && ctx_.Link.Cancellation().Tripped();
}

std::string DeferredCommands::LastStoppedText() const {
  if (!LastStopped()) return {};
  return LastProgressText();
}

std::string DeferredCommands::LastProgressText() const {
  if (lastCommand_.empty()) return {};
  const std::string& done = ctx_.Link.Cancellation().Done();
  return LastCaption() + " stopped " + (done.empty() ? "at its first step" : "after " + done);
}

std::string DeferredCommands::LastCaption() const {
  const Command* command = FindCommand(lastCommand_);
  return command ? command->Caption : "";
}

std::string DeferredCommands::LastEndedEarlyText(bool readIntoFile) const {
  if (lastCommand_.empty()) return {};
  if (const std::string& ending = ctx_.Link.Cancellation().Ending(); !ending.empty()) return ending;
  return LastProgressText() + ": " + StopConsequence(LastKind(), readIntoFile);
}

bool DeferredCommands::LastEndedEarly() const {
  return !lastCommand_.empty() && (LastStopped() || (!lastSucceeded_ && !ctx_.Link.Cancellation().Ending().empty()));
}

std::string StopConsequence(CommandKind kind, bool readIntoFile) {
  switch (kind) {
    case CommandKind::Read: return readIntoFile ? "nothing was saved" : "nothing was changed in the editor";
    case CommandKind::Write: return "the controller now holds a mix of old and new settings \u2014 write again to finish";
    case CommandKind::Verify: return "the comparison is incomplete";
  }
  return {};
}

ControllerAfter DeferredCommands::LastControllerState() const {
  const bool wholeWrite = lastCommand_ == "WriteAll" || lastCommand_ == "WriteChanged";
  const bool wholeComparison = lastCommand_ == "VerifyAll" || lastCommand_ == "Compare";
  if (lastSucceeded_) return wholeWrite || wholeComparison ? ControllerAfter::MatchesEditor : ControllerAfter::Unknown;
  const CancellationToken& token = ctx_.Link.Cancellation();
  if (lastCommand_ == "WriteChanged")
    return token.EndingLeavesMix() ? ControllerAfter::Mixed : ControllerAfter::Unknown;
  // Write All wrote something once a piece of it got through, or once the user could stop
  // it between two exchanges; a first write that nobody answered leaves nothing behind.
  if (lastCommand_ == "WriteAll" && (!token.Done().empty() || token.Reason() == StopReason::UserStop))
    return ControllerAfter::Mixed;
  return ControllerAfter::Unknown;
}

CommandKind DeferredCommands::LastKind() const {
  const Command* command = FindCommand(lastCommand_);
  return command ? command->Kind : CommandKind::Read;
}

}  // namespace brixo
