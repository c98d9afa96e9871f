#pragma once
// The text behind the "Communication" monitor window. It collects every logged frame from
// the first exchange on, whether or not a window shows it; a viewer subscribes to appends.
#include <functional>
#include <string>

#include "link/comm_log.h"

namespace brixo {

class CommunicationLog final : public CommLog {
 public:
  void AppendLine(const std::string& line) override;
  // "Clear" button: later lines are appended to the empty text.
  void Clear();
  const std::string& Text() const { return text_; }

  // Called with each appended piece (the line and its "\r\n") and after Clear().
  std::function<void(const std::string& appended)> onAppend;
  std::function<void()> onClear;

 private:
  std::string text_;
};

}  // namespace brixo
