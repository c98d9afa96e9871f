#pragma once
// Receives every logged frame as one line ("> ", "< ", ">> ", "<< " lines), without the
// line end; the monitor window and the CLI's --log show them.
#include <string>

namespace brixo {

class CommLog {
 public:
  virtual ~CommLog() = default;
  virtual void AppendLine(const std::string& line) = 0;
};

}  // namespace brixo
