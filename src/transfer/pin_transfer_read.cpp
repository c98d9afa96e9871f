#include <string>

#include "model/output_config_transfer.h"
#include "transfer/pin_transfer.h"
#include "transfer/pin_transfer_messages.h"

namespace brixo {

namespace {

constexpr const char* kNoValidResponse = "No valid response";
constexpr const char* kAddressInvalid = "Read Pin Address Configuration: Invalid Response";

bool IsDeviceByte(int value) { return value >= 64 && value <= 95; }

int HeadOfDeviceByte(int pin, int value) { return (pin + (value & 31)) % kPinCount; }

bool Refuse(TransferContext& ctx, const std::string& message) {
  ctx.Prompt().ShowMessage(message);
  return false;
}

// Reads pin p's three address bytes; false (after telling the user) when that failed.
bool ReadAddressBytesOf(TransferContext& ctx, int p, std::array<int, 3>& bytes) {
  switch (RequestAddressBytes(ctx.Link, p, bytes)) {
    case ReplyStatus::LinkFailed: return false;
    case ReplyStatus::Invalid: return Refuse(ctx, kAddressInvalid);
    case ReplyStatus::Ok: return true;
  }
  return false;
}

// Reads pin p's layout, steps, initial aspect and address configuration into `pin`; false
// (after telling the user) when the read did not complete.
bool ReadProgramInto(TransferContext& ctx, int p, PinRecord& pin) {
  uint8_t layout = 0;
  switch (RequestLayout(ctx.Link, p, layout)) {
    case ReplyStatus::LinkFailed: return false;
    case ReplyStatus::Invalid: return Refuse(ctx, kNoValidResponse);
    case ReplyStatus::Ok: break;
  }
  pin.AspectConfig = layout;

  for (int a = 0; a < AspectCountOf(layout); ++a) {
    for (int s = 0; s < StepCountOf(layout); ++s) {
      EncodedStep encoded;
      switch (RequestStep(ctx.Link, p, a, s, encoded)) {
        case ReplyStatus::LinkFailed: return false;
        case ReplyStatus::Invalid: return Refuse(ctx, kNoValidResponse);
        case ReplyStatus::Ok: break;
      }
      pin.Aspects[a].Steps[s] = DecodeStep(encoded);
    }
  }

  int initByte = 0x7F;
  switch (RequestInitByte(ctx.Link, p, initByte)) {
    case ReplyStatus::LinkFailed: return false;
    case ReplyStatus::Invalid: return Refuse(ctx, kNoValidResponse);
    case ReplyStatus::Ok: break;
  }
  pin.InitAspect = DecodeInitAspect(initByte);

  std::array<int, 3> address{};
  if (!ReadAddressBytesOf(ctx, p, address)) return false;
  // Each byte goes to the field its tag names, in order. A controller that never had its
  // addresses written (all bytes 0) still reads: a field whose tag is missing keeps its
  // value, and the verification, not the read, tells that such bytes are not what a write sends.
  for (int value : address) {
    if (!DecodeAddressByte(value, p, pin)) return Refuse(ctx, kAddressInvalid);
  }
  return true;
}

}  // namespace

// A pin is taken into the model only when all of it was read: a read that stops half-way
// leaves the pin as it was, never mixed from the controller and the old model.
bool ReadPinProgram(TransferContext& ctx, int p) {
  if (!IsValidPin(p)) return false;
  ctx.Link.CheckBrixoBD = true;
  PinRecord scratch = ctx.Model.PinTable[p];
  if (!ReadProgramInto(ctx, p, scratch)) return false;
  ctx.Model.PinTable[p] = scratch;
  return true;
}

bool ReadPinComplete(TransferContext& ctx, int p) {
  if (!IsValidPin(p)) return false;
  ctx.Link.CheckBrixoBD = true;
  PinRecord scratch = ctx.Model.PinTable[p];
  if (!ReadProgramInto(ctx, p, scratch) || !ReadOutputConfig(ctx.Link, scratch, 1, p)) return false;
  ctx.Model.PinTable[p] = scratch;
  return true;
}

bool ReadAllPinsLoop(TransferContext& ctx) {
  for (int p = 0; p < kPinCount; ++p) {
    bool read = !ctx.Stopping();
    if (read) {
      ctx.View.ShowProgress("Reading " + PinOfAll(ctx.Model, p));
      read = ReadPinComplete(ctx, p);
    }
    if (!read) return false;
    ctx.NoteDone(PinOfAll(ctx.Model, p));
  }
  return !ctx.Stopping();
}

bool ReadDeviceOfPin(TransferContext& ctx, int p) {
  if (!IsValidPin(p)) return false;
  std::array<int, 3> address{};
  if (!ReadAddressBytesOf(ctx, p, address)) return false;

  int head = -1;
  for (int value : address) {
    if (IsDeviceByte(value)) head = HeadOfDeviceByte(p, value);
  }
  if (head < 0) {
    return Refuse(ctx, "Cannot read DevicePointer from Pin " + std::to_string(DisplayedPin(ctx.Model, p)));
  }

  for (int b = 0; b < kPinCount; ++b) {
    if (!ReadAddressBytesOf(ctx, b, address)) return false;
    // Decided on this pin's own bytes before reading it, since the read replaces the
    // reply buffer; a pin is read once even if several of its bytes name the head.
    bool member = false;
    for (int value : address) {
      if (IsDeviceByte(value) && HeadOfDeviceByte(b, value) == head) member = true;
    }
    if (member && !ReadPinComplete(ctx, b)) return false;
    if (member) ctx.NoteDone("pin " + std::to_string(DisplayedPin(ctx.Model, b)));
    if (ctx.Stopping()) return false;
  }
  return true;
}

}  // namespace brixo
