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

bool WriteEventControlInSequence(TransferContext& ctx) {
  const bool ok = WriteEventControl(ctx);
  ctx.View.SetBusy(true);
  ctx.View.ShowProgress("Event control");
  return ok;
}

VerificationResult VerifyEventControl(TransferContext& ctx) {
  ctx.Link.CheckBrixoBD = true;
  VerificationReport& report = ctx.Report;
  const int offset = ctx.Model.NumberingOffset;
  report.AppendReportLine("Start EC Verification");
  if (offset == 1) report.AppendReportLine("Note: Numbering starts at 1");
  VerificationResult result;
  auto stop = [&result] {
    result.Ok = false;
    return result;
  };

  bool unsupported = false;
  for (EventHalf half : kHalves) {
    const FieldKind kind = half == EventHalf::On ? FieldKind::OnAction : FieldKind::OffAction;
    for (int p = 0; p < kPinCount; ++p) {
      if (!StartPin(ctx, half, p)) return stop();
      std::array<int16_t, kEventInputCount> actions{};
      std::array<int, kEventInputCount> bytes{};
      const EventReply reply = RequestEventActions(ctx, half, p, actions, &bytes);
      if (reply == EventReply::LinkFailed) return stop();
      if (reply == EventReply::Unsupported) {
        report.AppendReportLine("Read " + EventHalfName(half) + ": Function not supported by Device");
        unsupported = true;
        break;
      }
      const auto& configured = ActionsOf(ctx.Events, half, p);
      for (int i = 0; i < kEventInputCount; ++i) {
        // Bytes, not decoded actions: every byte that is not this input's tag decodes as
        // "no action" and would otherwise pass for one.
        if (bytes[i] == EncodeActionByte(i, configured[i])) continue;
        report.AppendReportLine(EventHalfName(half) + "(" + std::to_string(i) + ") for pin " +
                                std::to_string(p + offset) + " does not compare: Configured Action = " +
                                std::to_string(configured[i]) + ", Brixo Reply = " + std::to_string(actions[i]));
        Difference d{{kind, static_cast<int8_t>(p), static_cast<int8_t>(i)}, configured[i], actions[i], {}, {}};
        if (actions[i] == configured[i]) d.ControllerText = "byte " + std::to_string(bytes[i]);
        result.Differences.push_back(d);
        result.Ok = false;
      }
      ctx.NoteDone(PinOfHalf(half, p));
    }
  }

  // A controller without event control has nothing to compare the tables and the map
  // with: the part is not compared, and the summary must not say it was.
  if (unsupported) {
    result.Skipped.push_back({"event control", "the controller does not support it"});
    return stop();
  }
  if (!ctx.Events.EnableMapKnown) {
    report.AppendReportLine("ECInit: not compared, the configuration holds no enable map");
    result.NotCompared.push_back({FieldKind::EnableOnMask});
    result.NotCompared.push_back({FieldKind::EnableOffMask});
    result.Compared.push_back("event control");
    return result;
  }
  BrixoLink& link = ctx.Link;
  link.SendBrixoMessage(true, {kGenReadCommand, kGenEnableMap});
  if (!link.ReplyValid) return stop();
  const int masks[2] = {EncodeOnMask(ctx.Events), EncodeOffMask(ctx.Events)};
  const bool sized = link.ReplyLength() == 4;
  if (!sized || link.R(0) != kGenReadCommand || link.R(1) != kGenEnableMap) {
    report.AppendReportLine(sized ? "ECInit: No valid response type" : "ECInit: No valid response size");
    result.Differences.push_back(NoValidResponse({FieldKind::EnableOnMask}, masks[0]));
    return stop();
  }
  const char* names[2] = {"ON", "OFF"};
  const FieldKind kinds[2] = {FieldKind::EnableOnMask, FieldKind::EnableOffMask};
  for (int m = 0; m < 2; ++m) {
    if (masks[m] == link.R(2 + m)) continue;
    report.AppendReportLine(std::string("ECInit: ") + names[m] + "-mask does not compare");
    result.Differences.push_back({{kinds[m]}, masks[m], link.R(2 + m), {}, {}});
    result.Ok = false;
  }
  result.Compared.push_back("event control");
  return result;
}

bool ReadEnableMap(TransferContext& ctx) {
  BrixoLink& link = ctx.Link;
  link.CheckBrixoBD = true;
  link.SendBrixoMessage(true, {kGenReadCommand, kGenEnableMap});
  if (!link.ReplyValid) return false;
  if (link.ReplyLength() != 4) {
    ctx.Prompt().ShowMessage("No valid response size");
    // The boxes no longer stand for this controller's map; a backup must not claim one.
    ctx.Events.EnableMapKnown = false;
  } else if (link.R(0) != kGenReadCommand || link.R(1) != kGenEnableMap) {
    ctx.Prompt().ShowMessage("No valid response type");
    ctx.Events.EnableMapKnown = false;
  } else {
    DecodeEnableMap(link.R(2), link.R(3), ctx.Events);
    ctx.Events.EnableMapKnown = true;
    ctx.View.ShowEventPin();
  }
  return true;
}

bool WriteEnableMap(TransferContext& ctx) {
  const bool sent = ctx.Link.SendBrixoMessage(false, {kGenWriteCommand, kGenEnableMap, EncodeOnMask(ctx.Events),
                                                      EncodeOffMask(ctx.Events)});
  // What the boxes show is now the controller's map.
  if (sent) ctx.Events.EnableMapKnown = true;
  return sent;
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
