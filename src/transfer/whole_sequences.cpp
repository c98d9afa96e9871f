#include "transfer/whole_sequences.h"

#include "transfer/event_control_transfer.h"
#include "transfer/general_settings_transfer.h"
#include "transfer/pin_transfer.h"

namespace brixo {

namespace {

// Filling the addressing controls from the controller must not ask the user about
// flexible addressing.
bool ReadAddressSettingsQuietly(TransferContext& ctx) {
  ctx.General.QuietAddressUpdate = true;
  const bool ok = ReadAddressSettings(ctx);
  ctx.General.QuietAddressUpdate = false;
  return ok;
}

constexpr const char* kGeneralDone = "the general settings";
constexpr const char* kEventsDone = "the event control";

// Notes a step of a sequence that ended without being stopped; true when the sequence
// may go on.
bool Finished(TransferContext& ctx, bool ok, const char* piece) {
  if (!ok) return false;
  ctx.NoteDone(piece);
  return !ctx.Stopping();
}

bool ReadGeneralSettings(TransferContext& ctx) {
  ctx.View.ShowProgress("General settings");
  const bool ok = ReadVersion(ctx) && ReadIdString(ctx) && ReadDccSettings(ctx) && ReadAddressSettingsQuietly(ctx) &&
                  ReadLedConfig(ctx) && ReadHardwareConfig(ctx) && ReadSerialPortConfig(ctx);
  return Finished(ctx, ok, kGeneralDone);
}

bool WriteGeneralSettingsExceptAddressing(TransferContext& ctx) {
  ctx.View.ShowProgress("General settings");
  const bool ok = WriteIdString(ctx) && WriteDccSettings(ctx) && WriteLedConfig(ctx) && WriteHardwareConfig(ctx) &&
                  WriteSerialPortConfig(ctx);
  return Finished(ctx, ok, kGeneralDone);
}

}  // namespace

bool ReadAllSequence(TransferContext& ctx) {
  bool ok = ReadGeneralSettings(ctx) && ReadAllPinsLoop(ctx);
  if (ok) {
    ctx.View.ShowProgress("Event control");
    ok = ReadEventControl(ctx);
    // The enable map's own outcome does not decide the sequence.
    if (ok) ReadEnableMap(ctx);
    Finished(ctx, ok, kEventsDone);
  }
  ctx.View.ShowGeneralSettings();
  RefreshAddressAndPinViews(ctx);
  ctx.View.SetBusy(false);
  ctx.View.ShowOutputConfig();
  return ok;
}

bool WriteAllSequence(TransferContext& ctx) {
  bool ok = WriteGeneralSettingsExceptAddressing(ctx) && WriteAllPinsLoop(ctx);
  if (ok) {
    ctx.View.ShowProgress("Event control");
    // A configuration that holds no enable map leaves the controller's map as it is.
    ok = Finished(ctx, WriteEventControl(ctx) && (!ctx.Events.EnableMapKnown || WriteEnableMap(ctx)), kEventsDone);
  }
  if (ok) {
    ctx.View.ShowProgress("General settings");
    ok = WriteAddressSettings(ctx);
  }
  ctx.View.SetBusy(false);
  return ok;
}

VerificationResult VerifyAllSequence(TransferContext& ctx) {
  ctx.Report.Clear();
  ctx.View.ShowProgress("General settings");
  VerificationResult& result = ctx.Report.Result;
  result = VerifyGeneralSettings(ctx);
  bool goOn = Finished(ctx, result.Ok, kGeneralDone);
  if (goOn) {
    ctx.View.ShowProgress("Event control");
    result.Add(VerifyEventControl(ctx));
    goOn = Finished(ctx, result.Ok, kEventsDone);
  }
  if (goOn) result.Add(VerifyPins(ctx));
  // A verification that was stopped has not compared everything.
  if (ctx.Stopping()) result.Ok = false;
  CloseVerificationReport(ctx.Report, 3, ctx.Model.NumberingOffset);
  ctx.View.SetBusy(false);
  ctx.View.ShowReport();
  return result;
}

}  // namespace brixo
