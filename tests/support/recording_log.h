#pragma once
// A communication log for tests that keeps every line.
#include <string>
#include <vector>

#include "link/comm_log.h"

namespace brixo::testing {

class RecordingLog : public CommLog {
 public:
  void AppendLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};

}  // namespace brixo::testing
