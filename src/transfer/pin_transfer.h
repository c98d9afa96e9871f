#pragma once
// Moving the per-pin configuration between the model and the controller: a pin's layout,
// aspect programs, initial aspect and address configuration (its "program"), optionally
// with its output configuration; for one pin, one device or all 32 pins; and verifying
// all pins against the controller into the verification report.
#include "transfer/transfer_context.h"

namespace brixo {

// Reads layout, steps, initial aspect and address configuration of pin p into the model.
// The pin changes only when all of it was read.
bool ReadPinProgram(TransferContext& ctx, int p);
// ReadPinProgram, then the stored output configuration; true, and the pin changed, only
// when both were read.
bool ReadPinComplete(TransferContext& ctx, int p);
// ReadPinComplete for pins 0..31, stopping at the first failure; its caller takes the
// pins only when all of them were read and says how far it got otherwise.
bool ReadAllPinsLoop(TransferContext& ctx);
// Finds p's device through the controller's own device bytes and reads every member.
bool ReadDeviceOfPin(TransferContext& ctx, int p);

// Writes layout, initial aspect, address configuration and every aspect of pin p.
bool WritePinProgram(TransferContext& ctx, int p);
// Writes the steps of aspect a of pin p; false without sending when the layout has no aspect a.
bool WriteAspectProgram(TransferContext& ctx, int p, int a);
// WritePinProgram, then the output configuration to flash; true when both were sent.
bool WritePinComplete(TransferContext& ctx, int p);
// WritePinComplete for pins 0..31, stopping at the first failure.
bool WriteAllPinsLoop(TransferContext& ctx);
// Writes every pin of the device that pin p belongs to (taken from the model), in pin order.
// Refused with "Referral is not a device" when p does not point at a device head.
bool WriteDeviceOfPin(TransferContext& ctx, int p);

// Compares all 32 pins with the controller, byte for byte with what a write of each pin
// would send, appending findings to ctx.Report. The verdict is OK when everything compared.
VerificationResult VerifyPins(TransferContext& ctx);

// After a pin read: address maps, their labels, the pin editor and the address-count boxes.
void RefreshAddressAndPinViews(TransferContext& ctx);
// The same followed by the output-parameter view ("refresh views" of the read commands).
void RefreshPinViews(TransferContext& ctx);

}  // namespace brixo
