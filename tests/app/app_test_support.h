#pragma once
// An application state with a manual clock, no machine ports and the simulated controller
// offered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "support/recording_prompt.h"

namespace brixo::testing {

inline AppStateOptions SimulatedOnly(ManualClock& clock) {
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  options.OfferSimulator = true;
  options.TimeSource = &clock;
  return options;
}

inline std::string DataFile(const char* name) { return std::string(BRIXO_TEST_DATA_DIR) + "/" + name; }

}  // namespace brixo::testing
