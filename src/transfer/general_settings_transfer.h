#pragma once
// Reading, writing and verifying the controller's general settings, group by group.
#include "transfer/transfer_context.h"

namespace brixo {

bool ReadVersion(TransferContext& ctx);
bool ReadIdString(TransferContext& ctx);
bool WriteIdString(TransferContext& ctx);
bool ReadDccSettings(TransferContext& ctx);
bool WriteDccSettings(TransferContext& ctx);
bool ReadAddressSettings(TransferContext& ctx);
bool WriteAddressSettings(TransferContext& ctx);
bool ReadHardwareConfig(TransferContext& ctx);
bool WriteHardwareConfig(TransferContext& ctx);
bool ReadSerialPortConfig(TransferContext& ctx);
bool WriteSerialPortConfig(TransferContext& ctx);
bool ReadLedConfig(TransferContext& ctx);
bool WriteLedConfig(TransferContext& ctx);
// Appends its findings to ctx.Report; the verdict is OK when every group compared with
// what its write would send.
VerificationResult VerifyGeneralSettings(TransferContext& ctx);
// "Erase Flash" with its two questions; true when the erase message was sent.
bool EraseFlash(TransferContext& ctx);

}  // namespace brixo
