#pragma once
// An application state for window tests: a manual clock, no machine ports, the simulated
// controller offered and the test data folder as the program's folder (so the shipped
// device library is found), and a way to select the simulated port.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_state.h"

namespace brixo::testing {

inline AppStateOptions SimulatedAppOptions(ManualClock& clock) {
  AppStateOptions options;
  options.ProgramFolder = BRIXO_TEST_DATA_DIR;
  options.OfferSimulator = true;
  options.TimeSource = &clock;
  return options;
}

// Selects the simulated controller's port and forgets what it received while starting.
inline ::testing::AssertionResult SelectSimulatedPort(AppState& app) {
  for (const std::string& item : app.Ports().ComboPortItems()) {
    if (item.find(kSimulatedPortName) == std::string::npos) continue;
    if (!app.Ports().SelectPort(item)) return ::testing::AssertionFailure() << "cannot open " << item;
    app.Simulator()->Controller().ClearReceived();
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "no simulated port offered";
}

// How often a message was shown.
inline int CountOf(const std::vector<std::string>& messages, const std::string& text) {
  return static_cast<int>(std::count(messages.begin(), messages.end(), text));
}

}  // namespace brixo::testing
