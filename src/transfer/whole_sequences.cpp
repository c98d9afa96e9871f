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

bool ReadGeneralSettings(TransferContext& ctx) {
  ctx.View.ShowProgress("General settings");
  return ReadVersion(ctx) && ReadIdString(ctx) && ReadDccSettings(ctx) && ReadAddressSettingsQuietly(ctx) &&
         ReadLedConfig(ctx) && ReadHardwareConfig(ctx) && ReadSerialPortConfig(ctx);
}

bool WriteGeneralSettingsExceptAddressing(TransferContext& ctx) {
  ctx.View.ShowProgress("General settings");
  return WriteIdString(ctx) && WriteDccSettings(ctx) && WriteLedConfig(ctx) && WriteHardwareConfig(ctx) &&
         WriteSerialPortConfig(ctx);
}

}  // namespace

void ReadAllSequence(TransferContext& ctx) {
  if (ReadGeneralSettings(ctx) && ReadAllPinsLoop(ctx)) {
    ctx.View.ShowProgress("Event control");
    if (ReadEventControl(ctx)) ReadEnableMap(ctx);
  }
  ctx.View.ShowGeneralSettings();
  RefreshAddressAndPinViews(ctx);
  ctx.View.SetBusy(false);
  ctx.View.ShowOutputConfig();
}

void WriteAllSequence(TransferContext& ctx) {
  if (WriteGeneralSettingsExceptAddressing(ctx) && WriteAllPinsLoop(ctx)) {
    ctx.View.ShowProgress("Event control");
    if (WriteEventControl(ctx) && WriteEnableMap(ctx)) {
      ctx.View.ShowProgress("General settings");
      WriteAddressSettings(ctx);
    }
  }
  ctx.View.SetBusy(false);
}

void VerifyAllSequence(TransferContext& ctx) {
  ctx.Report.Clear();
  ctx.View.ShowProgress("General settings");
  bool ok = VerifyGeneralSettings(ctx);
  if (ok) {
    ctx.View.ShowProgress("Event control");
    ok = VerifyEventControl(ctx);
  }
  if (ok) ok = VerifyPins(ctx);
  ctx.Report.Append(ok ? "Verify OK" : "Verification Stopped");
  ctx.View.SetBusy(false);
  ctx.View.ShowReport();
}

}  // namespace brixo
