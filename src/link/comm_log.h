#pragma once
// Receives every logged frame as one line ("> ", "< ", ">> ", "<< " lines), without the
// line end; the monitor window and the CLI's --log show them.
#include <string>

namespace brixo {

class CommLog {
 public:
  virtual ~CommLog() = default;
  virtual void AppendLine(const std::string& line) = 0;
  // Lines appended while on belong to the feedback monitor's polls, which a reader of the
  // log may want to hide.
  virtual void SetPolling(bool on) {}
};

// Marks the lines of one feedback poll.
class PollingScope {
 public:
  explicit PollingScope(CommLog& log) : log_(log) { log_.SetPolling(true); }
  ~PollingScope() { log_.SetPolling(false); }
  PollingScope(const PollingScope&) = delete;
  PollingScope& operator=(const PollingScope&) = delete;

 private:
  CommLog& log_;
};

}  // namespace brixo
