#pragma once
// Reading, writing and verifying the event-control tables and the initial enable map.
#include "transfer/transfer_context.h"

namespace brixo {

bool ReadEventControl(TransferContext& ctx);
bool WriteEventControl(TransferContext& ctx);
// Appends its findings to ctx.Report; true when everything compared.
bool VerifyEventControl(TransferContext& ctx);
bool ReadEnableMap(TransferContext& ctx);
bool WriteEnableMap(TransferContext& ctx);
// "Read" / "Write" of the pin shown on the tab (CurrentEventPin).
void ReadEventPin(TransferContext& ctx);
void WriteEventPin(TransferContext& ctx);

}  // namespace brixo
