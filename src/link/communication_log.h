#pragma once
// The text behind the "Communication" monitor window. It collects the logged frames from
// the first exchange on, whether or not a window shows it, and keeps the newest
// kHistoryLines of them; a viewer or a log file subscribes to appends and sees every line.
#include <functional>
#include <string>

#include "link/bounded_text.h"
#include "link/comm_log.h"

namespace brixo {

class CommunicationLog final : public CommLog {
 public:
  explicit CommunicationLog(size_t maxLines = kHistoryLines) : text_(maxLines) {}

  void AppendLine(const std::string& line) override;
  // "Clear" button: later lines are appended to the empty text.
  void Clear();
  const std::string& Text() const { return text_.Text(); }
  size_t LineCount() const { return text_.LineCount(); }

  // Called with each appended piece (the line and its "\r\n") and after Clear().
  std::function<void(const std::string& appended)> onAppend;
  std::function<void()> onClear;

 private:
  BoundedText text_;
};

}  // namespace brixo
