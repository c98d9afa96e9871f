#include "link/cancellation_token.h"

namespace brixo {

void CancellationToken::Begin() {
  // A signal ends the whole run: every later operation of it stops at its first exchange.
  if (Reason() != StopReason::Interrupted) reason_.store(static_cast<int>(StopReason::None), std::memory_order_relaxed);
  done_.clear();
  ending_.clear();
  endingLeavesMix_ = false;
  ++operation_;
  active_.store(true, std::memory_order_relaxed);
}

void CancellationToken::End() { active_.store(false, std::memory_order_relaxed); }

void CancellationToken::Trip(StopReason reason) {
  int none = static_cast<int>(StopReason::None);
  reason_.compare_exchange_strong(none, static_cast<int>(reason), std::memory_order_relaxed);
}

}  // namespace brixo
