#include "transfer/event_control_messages.h"

#include <vector>

#include "transfer/event_control.h"

namespace brixo {

EventReply RequestEventActions(TransferContext& ctx, EventHalf half, int p,
                               std::array<int16_t, kEventInputCount>& actions,
                               std::array<int, kEventInputCount>* bytes) {
  BrixoLink& link = ctx.Link;
  const int command = half == EventHalf::On ? kEventReadOn : kEventReadOff;
  if (!link.SendBrixoMessage(true, {command, p}) || !link.ReplyValid) return EventReply::LinkFailed;
  // The on-reply carries the pin's initial-aspect byte ahead of the actions.
  const int length = half == EventHalf::On ? 7 : 6;
  const int first = half == EventHalf::On ? 3 : 2;
  if (link.ReplyLength() != length || link.R(0) != command || link.R(1) != p) return EventReply::Unsupported;
  for (int i = 0; i < kEventInputCount; ++i) {
    actions[i] = DecodeActionByte(link.R(first + i), i);
    if (bytes) (*bytes)[i] = link.R(first + i);
  }
  return EventReply::Ok;
}

bool SendEventActions(TransferContext& ctx, EventHalf half, int p) {
  const int command = half == EventHalf::On ? kEventWriteOn : kEventWriteOff;
  std::vector<int> payload{command, p};
  for (int b : EncodeActionBytes(ActionsOf(ctx.Events, half, p))) payload.push_back(b);
  return ctx.Link.SendBrixoMessage(false, payload);
}

std::string EventHalfName(EventHalf half) { return half == EventHalf::On ? "Event-On" : "Event-Off"; }

std::array<int16_t, kEventInputCount>& ActionsOf(EventControlState& ev, EventHalf half, int p) {
  return half == EventHalf::On ? ev.OnAction[p] : ev.OffAction[p];
}

}  // namespace brixo
