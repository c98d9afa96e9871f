#pragma once
// The event-control exchanges shared by the batch, single-pin and verify paths.
#include <array>
#include <cstdint>
#include <string>

#include "transfer/event_control_state.h"
#include "transfer/transfer_context.h"

namespace brixo {

enum class EventHalf { On, Off };

// LinkFailed: the exchange failed and has told the user already.
// Unsupported: a reply came that is not this pin's action reply.
enum class EventReply { LinkFailed, Unsupported, Ok };

// Reads and decodes the on- or off-actions of pin p; `bytes`, when given, receives the
// action bytes as the controller holds them.
EventReply RequestEventActions(TransferContext& ctx, EventHalf half, int p,
                               std::array<int16_t, kEventInputCount>& actions,
                               std::array<int, kEventInputCount>* bytes = nullptr);
// Sends the on- or off-actions of pin p (no reply awaited); the send's success.
bool SendEventActions(TransferContext& ctx, EventHalf half, int p);

// "Event-On" / "Event-Off".
std::string EventHalfName(EventHalf half);
std::array<int16_t, kEventInputCount>& ActionsOf(EventControlState& ev, EventHalf half, int p);

}  // namespace brixo
