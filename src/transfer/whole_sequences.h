#pragma once
// "Read All", "Write All" and "Verify All": the general settings, all pins and the event
// control in one go, each step only after every earlier one succeeded.
#include "transfer/transfer_context.h"

namespace brixo {

// Refreshes the address maps and views and hides the busy label whatever happened.
// True when every read got through.
bool ReadAllSequence(TransferContext& ctx);
// The serial addressing options go last: changing them may change how the controller
// is addressed, so everything else must already be in place.
// True when every write was sent.
bool WriteAllSequence(TransferContext& ctx);
// Clears the report, verifies, closes it with "Verify OK" or "Verification Stopped" and
// shows it. The result (also kept in ctx.Report.Result) is OK exactly when the report
// ends "Verify OK".
VerificationResult VerifyAllSequence(TransferContext& ctx);

}  // namespace brixo
