#pragma once
// A communication log for tests that keeps every line.
#include <string>
#include <vector>

#include "link/comm_log.h"

namespace brixo::testing {

class RecordingLog : public CommLog {
 public:
  void AppendLine(const std::string& line) override {
    Lines.push_back(line);
    Polled.push_back(polling_);
  }
  void SetPolling(bool on) override { polling_ = on; }
  std::vector<std::string> Lines;
  std::vector<bool> Polled;  // per line: logged during a feedback poll

 private:
  bool polling_ = false;
};

}  // namespace brixo::testing
