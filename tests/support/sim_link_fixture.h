#pragma once
// A link talking to the in-process simulated controller on a manual clock, so that reply
// windows pass without waiting; the prompt and the log record what the link shows.
#include <gtest/gtest.h>

#include <vector>

#include "link/brixo_link.h"
#include "link/clock.h"
#include "sim/sim_serial_port.h"
#include "support/recording_log.h"
#include "support/recording_prompt.h"

namespace brixo::testing {

class SimLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(port.Open("SIM"));
    link.AttachPort(&port);
  }

  // Payloads the controller received, without the synchronising empty frames.
  std::vector<std::vector<int>> Payloads() const {
    std::vector<std::vector<int>> result;
    for (const auto& p : port.ReceivedPayloads()) {
      if (!p.empty()) result.push_back(p);
    }
    return result;
  }
  void ClearPayloads() { port.Controller().ClearReceived(); }

  ManualClock clock;
  RecordingPrompt prompt;
  RecordingLog log;
  SimSerialPort port{clock};
  BrixoLink link{clock, prompt, log};
};

}  // namespace brixo::testing
