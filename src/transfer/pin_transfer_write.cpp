#include <string>

#include "model/device_membership.h"
#include "model/output_config_transfer.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

bool WritePinProgram(TransferContext& ctx, int p) {
  if (!IsValidPin(p)) return false;
  const PinRecord& pin = ctx.Model.PinTable[p];
  if (!SendPinWrite(ctx, {kPinWriteLayout, p, pin.AspectConfig})) return false;
  if (!SendPinWrite(ctx, {kPinWriteInit, p, EncodeInitAspect(pin.InitAspect)})) return false;
  const std::array<uint8_t, 3> address = EncodeAddressConfig(pin);
  if (!SendPinWrite(ctx, {kPinWriteAddress, p, address[0], address[1], address[2]})) return false;
  for (int a = 0; a < AspectCountOf(pin.AspectConfig); ++a) {
    if (!WriteAspectProgram(ctx, p, a)) return false;
  }
  return true;
}

bool WriteAspectProgram(TransferContext& ctx, int p, int a) {
  if (!IsValidPin(p)) return false;
  const PinRecord& pin = ctx.Model.PinTable[p];
  // An aspect outside the layout would land in controller memory the layout does not use.
  if (a < 0 || a >= AspectCountOf(pin.AspectConfig)) return false;
  for (int s = 0; s < StepCountOf(pin.AspectConfig); ++s) {
    const EncodedStep e = EncodeStep(pin.Aspects[a].Steps[s]);
    if (!SendPinWrite(ctx, {kPinWriteStep, p, a, s, e.Code, e.D0, e.D1, e.D2, e.D3})) return false;
  }
  return true;
}

bool WritePinComplete(TransferContext& ctx, int p) {
  if (!WritePinProgram(ctx, p)) return false;
  if (!WriteOutputConfig(ctx.Link, ctx.Model, 1, p)) return false;
  // The output configuration goes to flash too: without replies the controller needs the
  // same pause before the next pin's messages arrive.
  ctx.PaceWrite();
  return true;
}

bool WriteAllPinsLoop(TransferContext& ctx) {
  for (int p = 0; p < kPinCount; ++p) {
    if (ctx.Stopping()) return false;
    ctx.View.ShowProgress("Writing " + PinOfAll(ctx.Model, p));
    if (!WritePinComplete(ctx, p)) return false;
    ctx.NoteDone(PinOfAll(ctx.Model, p));
  }
  return !ctx.Stopping();
}

bool WriteDeviceOfPin(TransferContext& ctx, int p) {
  const PinArray& pins = ctx.Model.PinTable;
  if (!IsValidPin(p)) return false;
  // Checked again here, not only when the command was posted: a broken reference would
  // otherwise index outside the pin table.
  if (!RefersToDevice(pins, p)) {
    ctx.Prompt().ShowMessage("Referral is not a device", MessageIcon::Warning);
    return false;
  }
  for (int b : DeviceMembers(pins, ReferredPinOf(pins, p))) {
    if (ctx.Stopping() || !WritePinComplete(ctx, b)) return false;
    ctx.NoteDone("pin " + std::to_string(DisplayedPin(ctx.Model, b)));
  }
  return !ctx.Stopping();
}

}  // namespace brixo
