#pragma once
// Reading, writing and verifying the event-control tables and the initial enable map.
#include "transfer/transfer_context.h"

namespace brixo {

bool ReadEventControl(TransferContext& ctx);
bool WriteEventControl(TransferContext& ctx);
// The same as one step of a longer write: the busy area (and its Stop) stays up for the
// steps that follow, where the write by itself hides it when it ends.
bool WriteEventControlInSequence(TransferContext& ctx);
// Appends its findings to ctx.Report; the verdict is OK when everything compared. A map
// the configuration does not know is reported as not compared and does not fail it.
VerificationResult VerifyEventControl(TransferContext& ctx);
bool ReadEnableMap(TransferContext& ctx);
// Writes the map the boxes show, which then stands for the controller's map.
bool WriteEnableMap(TransferContext& ctx);
// "Read" / "Write" of the pin shown on the tab (CurrentEventPin).
void ReadEventPin(TransferContext& ctx);
void WriteEventPin(TransferContext& ctx);

}  // namespace brixo
