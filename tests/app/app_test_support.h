#pragma once
// An application state with scripted message boxes, a manual clock, no machine ports and
// the simulated controller offered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/no_file_chooser.h"

namespace brixo::testing {

class ScriptedPrompt : public UserPrompt {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageIcon, MessageButtons buttons) override {
    Messages.push_back(text);
    if (buttons == MessageButtons::YesNo) return YesNoAnswer;
    return MessageAnswer::Ok;
  }
  std::vector<std::string> Messages;
  MessageAnswer YesNoAnswer = MessageAnswer::Yes;
};

inline AppStateOptions SimulatedOnly(ManualClock& clock) {
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  options.OfferSimulator = true;
  options.Scanner = [] { return std::vector<std::string>{}; };
  options.TimeSource = &clock;
  return options;
}

inline std::string DataFile(const char* name) { return std::string(BRIXO_TEST_DATA_DIR) + "/" + name; }

}  // namespace brixo::testing
