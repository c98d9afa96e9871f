#include "transfer/deferred_commands.h"

#include <array>

#include "model/device_membership.h"
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

bool RunVerifyAllPins(TransferContext& ctx) {
  ctx.Report.Clear();
  ctx.Report.Result = VerifyPins(ctx);
  const bool ok = ctx.Report.Result.Ok;
  CloseVerificationReport(ctx.Report, 1, ctx.Model.NumberingOffset);
  HideBusy(ctx);
  ctx.View.ShowReport();
  return ok;
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
  const bool ok = ctx.Report.Result.Ok;
  CloseVerificationReport(ctx.Report, 1, ctx.Model.NumberingOffset);
  HideBusy(ctx);
  ctx.View.ShowReport();
  return ok;
}

struct Command {
  const char* Name;
  const char* Caption;  // the button's caption
  CommandKind Kind;
  PostCheck Check;
  bool (*Run)(TransferContext&);
};

constexpr std::array<Command, 15> kCommands{{
    {"ReadAll", "Read All", CommandKind::Read, PostCheck::None, ReadAllSequence},
    {"WriteAll", "Write All", CommandKind::Write, PostCheck::None, WriteAllSequence},
    {"VerifyAll", "Verify All", CommandKind::Verify, PostCheck::PortOpen, RunVerifyAll},
    {"ReadPin", "Read Pin", CommandKind::Read, PostCheck::None, RunReadPin},
    {"WritePin", "Write Pin", CommandKind::Write, PostCheck::None, RunWritePin},
    {"ReadDevice", "Read Device", CommandKind::Read, PostCheck::None, RunReadDevice},
    {"WriteDevice", "Write Device", CommandKind::Write, PostCheck::DeviceHead, RunWriteDevice},
    {"ReadAllPins", "Read All Devices", CommandKind::Read, PostCheck::None, RunReadAllPins},
    {"WriteAllPins", "Write All Devices", CommandKind::Write, PostCheck::None, RunWriteAllPins},
    {"PAspReadPin", "Read Asp's", CommandKind::Read, PostCheck::None, RunReadAspects},
    {"PAspWritePin", "Write Asp's", CommandKind::Write, PostCheck::None, RunWriteAspects},
    {"VerifyAllPins", "Verify All Pins", CommandKind::Verify, PostCheck::PortOpen, RunVerifyAllPins},
    {"ECWriteAll", "Write All Events", CommandKind::Write, PostCheck::None, RunWriteEvents},
    {"ECReadAll", "Read All Events", CommandKind::Read, PostCheck::None, RunReadEvents},
    {"ECVerify", "Verify Event Control", CommandKind::Verify, PostCheck::PortOpen, RunVerifyEvents},
}};

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

void DeferredCommands::Tick() {
  const std::string name = pendingCommand_;
  pendingCommand_.clear();
  const Command* command = FindCommand(name);
  if (command == nullptr) return;
  lastCommand_ = name;
  {
    CancellationScope scope(ctx_.Link.Cancellation());
    lastSucceeded_ = command->Run(ctx_);
  }
  labelActionVisible_ = false;
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

CommandKind DeferredCommands::LastKind() const {
  const Command* command = FindCommand(lastCommand_);
  return command ? command->Kind : CommandKind::Read;
}

}  // namespace brixo
