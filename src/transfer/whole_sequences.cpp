#include "transfer/whole_sequences.h"

#include "transfer/changed_writes.h"
#include "transfer/deferred_commands.h"
#include "transfer/difference_table.h"
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
    ok = Finished(ctx, WriteEventControlInSequence(ctx) && (!ctx.Events.EnableMapKnown || WriteEnableMap(ctx)),
                  kEventsDone);
  }
  if (ok) {
    ctx.View.ShowProgress("General settings");
    ok = WriteAddressSettings(ctx);
  }
  ctx.View.SetBusy(false);
  return ok;
}

namespace {

// How far a run of the three verifications goes.
enum class PartsCompared {
  UntilOneDiffers,  // Verify All: a part that differs ends it
  AllToTheirEnd,    // Compare: only a part that could not be compared to its end ends it
};

// Verifies the general settings, the event control and the pins into ctx.Report.Result.
VerificationResult& VerifyParts(TransferContext& ctx, PartsCompared until) {
  ctx.Report.Clear();
  VerificationResult& result = ctx.Report.Result;
  // Whether the next part follows the one just compared. Compare goes past a part the
  // controller does not have, saying so; Verify All ends there, as at a difference.
  const auto goOn = [&](const VerificationResult& part, const char* piece) {
    const bool whole = until == PartsCompared::AllToTheirEnd ? AllPartsGoneThrough(part, 1) : part.Ok;
    return Finished(ctx, whole, piece);
  };
  ctx.View.ShowProgress("General settings");
  result = VerifyGeneralSettings(ctx);
  bool next = goOn(result, kGeneralDone);
  if (next) {
    ctx.View.ShowProgress("Event control");
    const VerificationResult events = VerifyEventControl(ctx);
    result.Add(events);
    next = goOn(events, kEventsDone);
  }
  if (next) result.Add(VerifyPins(ctx));
  // A verification that was stopped has not compared everything.
  if (ctx.Stopping()) result.Ok = false;
  return result;
}

VerificationResult CloseAndShow(TransferContext& ctx) {
  CloseVerificationReport(ctx.Report, 3, {ctx.Model, ctx.General, ctx.Events});
  ctx.View.SetBusy(false);
  ctx.View.ShowReport();
  return ctx.Report.Result;
}

}  // namespace

VerificationResult VerifyAllSequence(TransferContext& ctx) {
  VerifyParts(ctx, PartsCompared::UntilOneDiffers);
  return CloseAndShow(ctx);
}

VerificationResult CompareAllSequence(TransferContext& ctx) {
  VerifyParts(ctx, PartsCompared::AllToTheirEnd);
  return CloseAndShow(ctx);
}

namespace {

std::string Pins(int n) { return std::to_string(n) + (n == 1 ? " pin" : " pins"); }
// " (3 pins)" after what was written; nothing when no pin differed.
std::string PinsAmongIt(int n) { return n > 0 ? " (" + Pins(n) + ")" : std::string{}; }

}  // namespace

std::string WriteChangesEndText(const WriteChangesEnd& end) {
  const std::string caption = end.Checked ? "Write Checked" : "Write Changes";
  const std::string everything = end.Checked ? "everything checked" : "everything that differed";
  const std::string after = end.Done.empty() ? "" : " after " + end.Done;
  const std::string passedOver = end.PassedOver.empty() ? "" : "; " + end.PassedOver;
  switch (end.Phase) {
    case WriteChangesPhase::FirstComparison:
      return caption + " stopped in its first comparison" + after + ": nothing was written";
    case WriteChangesPhase::Writing:
      return caption + " stopped while writing" +
             (end.PinsToWrite > 0 ? ", after " + std::to_string(end.PinsWritten) + " of " + Pins(end.PinsToWrite)
                                  : std::string{}) +
             ": " + StopConsequence(CommandKind::Write, false);
    case WriteChangesPhase::FinalComparison:
      if (end.DifferencesLeft > 0) {
        const int n = end.DifferencesLeft;
        return caption + " wrote " + everything + PinsAmongIt(end.PinsToWrite) +
               ", but its final comparison still finds " + std::to_string(n) +
               (n == 1 ? " difference" : " differences") + passedOver;
      }
      return caption + " stopped in its final comparison" + after + ": " + everything + " was written" +
             PinsAmongIt(end.PinsToWrite) + ", the comparison is incomplete";
    case WriteChangesPhase::Finished:
      return caption +
             (end.NothingDiffered ? " found nothing to write" : " wrote " + everything + PinsAmongIt(end.PinsToWrite)) +
             passedOver;
  }
  return {};
}

namespace {

// "event control was not compared or written: the controller does not support it".
std::string PassedOverText(const VerificationResult& result) {
  std::string text;
  for (const VerificationResult::SkippedPart& skipped : result.Skipped) {
    if (!text.empty()) text += "; ";
    text += skipped.Part + " was not compared or written: " + skipped.Why;
  }
  return text;
}

}  // namespace

bool WriteChangedSequence(TransferContext& ctx) {
  CancellationToken& token = ctx.Link.Cancellation();
  WriteChangesEnd end;
  // The words for an early end; the progress is that of the phase it ended in.
  const auto endedEarly = [&] {
    end.Done = end.Phase == WriteChangesPhase::Writing ? std::string{} : token.Done();
    token.NoteEnding(WriteChangesEndText(end), end.Phase == WriteChangesPhase::Writing);
    return false;
  };
  const VerificationResult before = VerifyParts(ctx, PartsCompared::AllToTheirEnd);
  // Only a comparison that saw everything tells what may be left alone; a part the
  // controller does not have is no part of it.
  if (ctx.Stopping() || !AllPartsGoneThrough(before, 3)) {
    CloseAndShow(ctx);
    return endedEarly();
  }
  end.PassedOver = PassedOverText(before);
  const ChangedParts changed = ChangedPartsOf(before.Differences);
  // Nothing to write: the comparison just made is the verification.
  if (!changed.Any()) {
    if (CloseAndShow(ctx).Ok) return true;
    end.Phase = WriteChangesPhase::Finished;
    end.NothingDiffered = true;
    return endedEarly();
  }
  end.Phase = WriteChangesPhase::Writing;
  end.PinsToWrite = changed.PinCount();
  const bool written = WriteChangedParts(ctx, changed, end.PinsWritten);
  // The report names what was to be written, then verifies what now stands.
  std::string toWrite;
  for (const std::string& line : DifferenceLines(DifferenceRows(before.Differences, {ctx.Model, ctx.General, ctx.Events})))
    toWrite += "Written: " + line + "\r\n";
  if (!written) {
    ctx.View.SetBusy(false);
    return endedEarly();
  }
  end.Phase = WriteChangesPhase::FinalComparison;
  token.NoteDone({});  // the comparison counts afresh
  VerifyParts(ctx, PartsCompared::AllToTheirEnd);
  ctx.Report.Text = toWrite + ctx.Report.Text;
  const VerificationResult after = CloseAndShow(ctx);
  if (after.Ok) return true;
  if (!ctx.Stopping() && VerificationVerdict(after, 3) == "Differences Found") {
    end.DifferencesLeft = static_cast<int>(after.Differences.size());
  } else if (!ctx.Stopping() && AllPartsGoneThrough(after, 3)) {
    // Everything the controller has was compared: the verdict is not "Verify OK" only
    // because of what was passed over, or because something it has still differs.
    end.DifferencesLeft = static_cast<int>(after.Differences.size());
    if (end.DifferencesLeft == 0) end.Phase = WriteChangesPhase::Finished;
  }
  return endedEarly();
}

bool WriteCheckedSequence(TransferContext& ctx, const ChangedParts& parts) {
  CancellationToken& token = ctx.Link.Cancellation();
  WriteChangesEnd end;
  end.Checked = true;
  end.Phase = WriteChangesPhase::Writing;
  end.PinsToWrite = parts.PinCount();
  if (!WriteChangedParts(ctx, parts, end.PinsWritten)) {
    ctx.View.SetBusy(false);
    token.NoteEnding(WriteChangesEndText(end));
    return false;
  }
  end.Phase = WriteChangesPhase::FinalComparison;
  token.NoteDone({});
  VerifyParts(ctx, PartsCompared::AllToTheirEnd);
  const VerificationResult after = CloseAndShow(ctx);
  if (after.Ok) return true;
  // Rows left unticked still differ: that is what was asked for, not an early end.
  if (!ctx.Stopping() && VerificationVerdict(after, 3) == "Differences Found") return false;
  end.Done = token.Done();
  token.NoteEnding(WriteChangesEndText(end));
  return false;
}

}  // namespace brixo
