#pragma once
// "Read All", "Write All" and "Verify All": the general settings, all pins and the event
// control in one go, each step only after every earlier one succeeded.
#include <string>

#include "transfer/changed_writes.h"
#include "transfer/transfer_context.h"

namespace brixo {

// Refreshes the address maps and views and hides the busy label whatever happened.
// True when every read got through.
bool ReadAllSequence(TransferContext& ctx);
// The serial addressing options go last: changing them may change how the controller
// is addressed, so everything else must already be in place.
// True when every write was sent.
bool WriteAllSequence(TransferContext& ctx);
// Clears the report, verifies, closes it with its differences, its verdict and a summary
// line, and shows it. The result (also kept in ctx.Report.Result) is OK exactly when the
// report's verdict is "Verify OK".
VerificationResult VerifyAllSequence(TransferContext& ctx);

// "Compare": the verifications of Verify All, each part compared to its end even when an
// earlier part differed, so that the report lists every difference between the editor and
// the controller. Changes neither. The result is also kept in ctx.Report.Result.
VerificationResult CompareAllSequence(TransferContext& ctx);
// Write All of only what differs: compares first, writes the groups, event tables and
// pins that differ (the serial addressing options last), then compares again and shows
// that report. Writes nothing when the first comparison did not get to its end; a part the
// controller does not have (event control) is passed over, neither compared nor written.
// True when the controller compares afterwards; otherwise the link's cancellation token
// holds the sentence that says which phase ended it, what the controller holds and what
// was passed over (WriteChangesEndText).
bool WriteChangedSequence(TransferContext& ctx);
// "Write Checked" of the differences table: writes the groups, event tables and pins that
// hold the rows the user ticked (the serial addressing options last), then compares again,
// every part to its end, and shows that report. True when the controller then compares;
// differences left in unticked rows are no early end.
bool WriteCheckedSequence(TransferContext& ctx, const ChangedParts& parts);

// Where Write Changes ended, for the words that tell what the controller holds then.
// Finished: every part the controller has was compared at the end, yet the verdict is not
// "Verify OK", since a part was passed over.
enum class WriteChangesPhase { FirstComparison, Writing, FinalComparison, Finished };
struct WriteChangesEnd {
  WriteChangesPhase Phase = WriteChangesPhase::FirstComparison;
  // Write Checked, which writes what the user ticked, has no first comparison.
  bool Checked = false;
  // How far the comparison of that phase got ("pin 12 of 32"); empty when it ended at its
  // first part.
  std::string Done;
  int PinsWritten = 0;
  int PinsToWrite = 0;
  // The final comparison went through every part and still found this many differences.
  int DifferencesLeft = 0;
  // The first comparison found nothing to write in the parts it compared.
  bool NothingDiffered = false;
  // The parts passed over, and why: "event control was not compared or written: the
  // controller does not support it".
  std::string PassedOver;
};
// "Write Changes stopped in its first comparison after pin 12 of 32: nothing was written".
std::string WriteChangesEndText(const WriteChangesEnd& end);

}  // namespace brixo
