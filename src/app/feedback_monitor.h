#pragma once
// The feedback monitor: while running, every tick sends the controller an empty message
// and lists the four feedback values of each four-byte answer, one line per answer.
#include <functional>
#include <string>

#include "link/bounded_text.h"
#include "link/brixo_link.h"

namespace brixo {

class FeedbackMonitor {
 public:
  static constexpr int kTickMs = 100;  // Timer2

  // `historyLines`: how many of its lines the text keeps.
  explicit FeedbackMonitor(BrixoLink& link, size_t historyLines = kHistoryLines)
      : link_(link), text_(historyLines) {}

  // "Monitor" click: false (after "Select Comm-port") when the port is closed.
  bool Monitor();
  // The "Monitor" button lost the focus ("Stop" takes it): the ticks end.
  void Stop();
  // "Clear": empties the text; the ticks keep their state.
  void Clear() { text_.Clear(); }
  // One tick of Timer2; does nothing while stopped. True when it added a line.
  // A port that went away, a failed tunnelled poll or a stopped operation end the monitor
  // once, with the fault's message and the closing line; Running() is then false, so no
  // tick repeats the message ten times a second.
  bool Tick();

  bool Running() const { return running_; }
  // textFBM: its newest kHistoryLines lines.
  const std::string& Text() const { return text_.Text(); }
  // Characters appended since the last Clear(), those no longer kept included.
  uint64_t Appended() const { return text_.Appended(); }
  // Called with every piece appended to the text (each ends with a line break).
  std::function<void(const std::string&)> onAppend;

 private:
  void Append(const std::string& line);
  // Ends the monitor because the line failed.
  void Halt();

  BrixoLink& link_;
  bool running_ = false;
  bool halted_ = false;  // ended by a failure: the focus loss that follows adds no second line
  BoundedText text_;
};

// "<a> <b> <c> <d> " for a valid reply of exactly four payload bytes; empty otherwise.
std::string FeedbackLine(const BrixoLink& link);

}  // namespace brixo
