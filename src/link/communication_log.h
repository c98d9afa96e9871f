#pragma once
// The text behind the "Communication" monitor window. It collects the logged frames from
// the first exchange on, whether or not a window shows it, and keeps the newest
// kHistoryLines of them; a viewer or a log file subscribes to appends and sees every line.
// Each line keeps when it came and whether a feedback poll sent it, for the monitor's
// time stamps and filter.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "link/bounded_text.h"
#include "link/clock.h"
#include "link/comm_log.h"

namespace brixo {

struct LogLineMark {
  uint32_t Ms = 0;       // milliseconds since the log began
  bool Polling = false;  // part of a feedback poll
};

class CommunicationLog final : public CommLog {
 public:
  // Without a clock every line is stamped 0.
  explicit CommunicationLog(size_t maxLines = kHistoryLines, Clock* clock = nullptr);

  void AppendLine(const std::string& line) override;
  void SetPolling(bool on) override { polling_ = on; }
  // "Clear" button: later lines are appended to the empty text.
  void Clear();
  const std::string& Text() const { return text_.Text(); }
  size_t LineCount() const { return text_.LineCount(); }
  // One mark per line of Text(), oldest first.
  const std::deque<LogLineMark>& Marks() const { return marks_; }

  // Called with each appended piece (the line and its "\r\n") and after Clear().
  std::function<void(const std::string& appended)> onAppend;
  std::function<void()> onClear;

 private:
  BoundedText text_;
  std::deque<LogLineMark> marks_;
  Clock* clock_;
  double start_ = 0.0;
  bool polling_ = false;
};

// What the monitor shows of the log.
enum class MonitorFilter { All, ToController, FromController, HidePolls };

struct MonitorView {
  MonitorFilter Filter = MonitorFilter::All;
  bool TimeStamps = false;
};

// The filter's caption in the monitor's list, in the enum's order.
const char* MonitorFilterCaption(MonitorFilter filter);
inline constexpr int kMonitorFilterCount = 4;

// The lines of text (each ending in "\r\n", one mark each) that the view shows, formatted
// as it shows them: "   12345 ms > [03] [60]" with time stamps.
std::string MonitorText(const std::string& text, const std::deque<LogLineMark>& marks, const MonitorView& view);
std::string MonitorText(const CommunicationLog& log, const MonitorView& view);
// One line as the view shows it; empty when the filter hides it.
std::string MonitorLine(const std::string& line, const LogLineMark& mark, const MonitorView& view);

}  // namespace brixo
