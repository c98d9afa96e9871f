#include "transfer/event_control_transfer.h"

#include <string>

#include "transfer/event_control.h"
#include "transfer/event_control_messages.h"
#include "transfer/general_settings_encoding.h"

namespace brixo {

namespace {

constexpr EventHalf kHalves[] = {EventHalf::On, EventHalf::Off};

std::string PinOfHalf(EventHalf half, int p) {
  return EventHalfName(half) + " pin " + std::to_string(p + 1) + " of " + std::to_string(kPinCount);
}

// Shows which pin comes next; false when the operation has been asked to stop.
bool StartPin(TransferContext& ctx, EventHalf half, int p) {
  if (ctx.Stopping()) return false;
  ctx.View.ShowProgress(PinOfHalf(half, p));
  return true;
}

}  // namespace

bool ReadEventControl(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  for (EventHalf half : kHalves) {
    for (int p = 0; p < kPinCount; ++p) {
      if (!StartPin(ctx, half, p)) return false;
      std::array<int16_t, kEventInputCount> actions{};
      const EventReply reply = RequestEventActions(ctx, half, p, actions);
      if (reply == EventReply::LinkFailed) return false;
      if (reply == EventReply::Unsupported) {
        ctx.Prompt().ShowMessage("Read " + EventHalfName(half) + ": Function not supported by Device");
        break;
      }
      ActionsOf(ctx.Events, half, p) = actions;
      ctx.NoteDone(PinOfHalf(half, p));
    }
  }
  ShowEventPin(ctx.Events, ctx.View);
  return true;
}

bool WriteEventControl(TransferContext& ctx) {
  for (EventHalf half : kHalves) {
    for (int p = 0; p < kPinCount; ++p) {
      if (!StartPin(ctx, half, p) || !SendEventActions(ctx, half, p)) {
        ctx.View.SetBusy(false);
        return false;
      }
      ctx.PaceWrite();
      ctx.NoteDone(PinOfHalf(half, p));
    }
  }
  ctx.View.SetBusy(false);
  return true;
}

bool VerifyEventControl(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  VerificationReport& report = ctx.Report;
  const int offset = ctx.Model.NumberingOffset;
  report.AppendReportLine("Start EC Verification");
  if (offset == 1) report.AppendReportLine("Note: Numbering starts at 1");
  bool ok = true;

  for (EventHalf half : kHalves) {
    for (int p = 0; p < kPinCount; ++p) {
      if (!StartPin(ctx, half, p)) return false;
      std::array<int16_t, kEventInputCount> actions{};
      const EventReply reply = RequestEventActions(ctx, half, p, actions);
      if (reply == EventReply::LinkFailed) return false;
      if (reply == EventReply::Unsupported) {
        report.AppendReportLine("Read " + EventHalfName(half) + ": Function not supported by Device");
        ok = false;
        break;
      }
      const auto& configured = ActionsOf(ctx.Events, half, p);
      for (int i = 0; i < kEventInputCount; ++i) {
        if (configured[i] == actions[i]) continue;
        report.AppendReportLine(EventHalfName(half) + "(" + std::to_string(i) + ") for pin " +
                                std::to_string(p + offset) + " does not compare: Configured Action = " +
                                std::to_string(configured[i]) + ", Brixo Reply = " + std::to_string(actions[i]));
        ok = false;
      }
      ctx.NoteDone(PinOfHalf(half, p));
    }
  }

  BrixoLink& link = ctx.Link;
  link.SendBrixoMessage(true, {kGenReadCommand, kGenEnableMap});
  if (!link.ReplyValid) return false;
  if (link.ReplyLength() != 4) {
    report.AppendReportLine("ECInit: No valid response size");
    return false;
  }
  if (link.R(0) != kGenReadCommand || link.R(1) != kGenEnableMap) {
    report.AppendReportLine("ECInit: No valid response type");
    return false;
  }
  if (EncodeOnMask(ctx.Events) != link.R(2)) {
    report.AppendReportLine("ECInit: ON-mask does not compare");
    ok = false;
  }
  if (EncodeOffMask(ctx.Events) != link.R(3)) {
    report.AppendReportLine("ECInit: OFF-mask does not compare");
    ok = false;
  }
  return ok;
}

bool ReadEnableMap(TransferContext& ctx) {
  BrixoLink& link = ctx.Link;
  link.CheckBrixoBD = true;
  link.SendBrixoMessage(true, {kGenReadCommand, kGenEnableMap});
  if (!link.ReplyValid) return false;
  if (link.ReplyLength() != 4) {
    ctx.Prompt().ShowMessage("No valid response size");
  } else if (link.R(0) != kGenReadCommand || link.R(1) != kGenEnableMap) {
    ctx.Prompt().ShowMessage("No valid response type");
  } else {
    DecodeEnableMap(link.R(2), link.R(3), ctx.Events);
    ctx.View.ShowEventPin();
  }
  return true;
}

bool WriteEnableMap(TransferContext& ctx) {
  return ctx.Link.SendBrixoMessage(false, {kGenWriteCommand, kGenEnableMap, EncodeOnMask(ctx.Events),
                                           EncodeOffMask(ctx.Events)});
}

void ReadEventPin(TransferContext& ctx) {
  EventControlState& ev = ctx.Events;
  const int p = ev.CurrentEventPin;
  ctx.Link.CheckBrixoBD = true;
  for (EventHalf half : kHalves) {
    std::array<int16_t, kEventInputCount> actions{};
    const EventReply reply = RequestEventActions(ctx, half, p, actions);
    if (reply == EventReply::LinkFailed) return;
    if (reply == EventReply::Unsupported) {
      ctx.Prompt().ShowMessage("Function not supported by Device");
      // Without on-actions there is nothing to show; a missing off-half still shows the on-half.
      if (half == EventHalf::On) return;
      break;
    }
    ActionsOf(ev, half, p) = actions;
  }
  ShowEventPin(ev, ctx.View);
}

void WriteEventPin(TransferContext& ctx) {
  const int p = ctx.Events.CurrentEventPin;
  for (EventHalf half : kHalves) {
    if (!SendEventActions(ctx, half, p)) {
      ctx.View.SetBusy(false);
      return;
    }
    ctx.PaceWrite();
  }
}

}  // namespace brixo
