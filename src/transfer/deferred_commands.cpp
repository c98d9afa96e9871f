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

void RunReadPin(TransferContext& ctx) {
  ReadPinComplete(ctx, ctx.Model.CurrentPin);
  RefreshPinViews(ctx);
  HideBusy(ctx);
}

void RunWritePin(TransferContext& ctx) {
  WritePinComplete(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
}

void RunReadDevice(TransferContext& ctx) {
  ReadDeviceOfPin(ctx, ctx.Model.CurrentPin);
  RefreshPinViews(ctx);
  HideBusy(ctx);
}

void RunWriteDevice(TransferContext& ctx) {
  WriteDeviceOfPin(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
}

void RunReadAllPins(TransferContext& ctx) {
  ReadAllPinsLoop(ctx);
  RefreshPinViews(ctx);
  HideBusy(ctx);
}

void RunWriteAllPins(TransferContext& ctx) {
  WriteAllPinsLoop(ctx);
  HideBusy(ctx);
}

void RunReadAspects(TransferContext& ctx) {
  if (ReadPinProgram(ctx, ctx.Model.CurrentPin)) {
    ctx.View.ShowPin();
    ctx.View.ShowAddressCounts();
  }
  HideBusy(ctx);
}

void RunWriteAspects(TransferContext& ctx) {
  WritePinProgram(ctx, ctx.Model.CurrentPin);
  HideBusy(ctx);
}

void RunVerifyAllPins(TransferContext& ctx) {
  ctx.Report.Clear();
  if (VerifyPins(ctx)) ctx.Report.Append("Verify OK");
  HideBusy(ctx);
  ctx.View.ShowReport();
}

void RunWriteEvents(TransferContext& ctx) {
  WriteEventControl(ctx);
  HideBusy(ctx);
}

void RunReadEvents(TransferContext& ctx) {
  ReadEventControl(ctx);
  HideBusy(ctx);
}

void RunVerifyEvents(TransferContext& ctx) {
  ctx.Report.Clear();
  if (VerifyEventControl(ctx)) ctx.Report.AppendReportLine("Verify OK");
  HideBusy(ctx);
  ctx.View.ShowReport();
}

struct Command {
  const char* Name;
  PostCheck Check;
  void (*Run)(TransferContext&);
};

constexpr std::array<Command, 15> kCommands{{
    {"ReadAll", PostCheck::None, ReadAllSequence},
    {"WriteAll", PostCheck::None, WriteAllSequence},
    {"VerifyAll", PostCheck::PortOpen, VerifyAllSequence},
    {"ReadPin", PostCheck::None, RunReadPin},
    {"WritePin", PostCheck::None, RunWritePin},
    {"ReadDevice", PostCheck::None, RunReadDevice},
    {"WriteDevice", PostCheck::DeviceHead, RunWriteDevice},
    {"ReadAllPins", PostCheck::None, RunReadAllPins},
    {"WriteAllPins", PostCheck::None, RunWriteAllPins},
    {"PAspReadPin", PostCheck::None, RunReadAspects},
    {"PAspWritePin", PostCheck::None, RunWriteAspects},
    {"VerifyAllPins", PostCheck::PortOpen, RunVerifyAllPins},
    {"ECWriteAll", PostCheck::None, RunWriteEvents},
    {"ECReadAll", PostCheck::None, RunReadEvents},
    {"ECVerify", PostCheck::PortOpen, RunVerifyEvents},
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
  command->Run(ctx_);
  labelActionVisible_ = false;
}

}  // namespace brixo
