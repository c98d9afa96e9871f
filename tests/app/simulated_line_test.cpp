// Controllers put on the simulated line as brixo-sim's --modules and --load describe them.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/simulated_line.h"
#include "link/clock.h"
#include "support/recording_prompt.h"

namespace brixo::testing {
namespace {

TEST(SeveralControllers, SetUpGivesEachItsAddressAndItsFile) {
  const std::string demo = std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat";
  if (!std::filesystem::exists(demo)) GTEST_SKIP() << demo;
  ManualClock clock;
  SimSerialPort line(clock);
  RecordingPrompt prompt;
  std::vector<SimLineController> entries(3);
  entries[0].Module = 2;
  entries[1].Module = 20;
  entries[1].LoadPath = demo;
  entries[2].Module = 20;
  entries[2].Extended = 9;
  ASSERT_TRUE(SetUpSimulatedControllers(line, entries, clock, prompt)) << prompt.Messages.front();
  ASSERT_EQ(line.Controllers().Count(), 3);
  EXPECT_EQ(line.Controllers().At(0).ModuleAddress(), 2);
  SimController& loaded = line.Controllers().At(1);
  EXPECT_EQ(loaded.ModuleAddress(), 20) << "kept after the preload on the bench";
  EXPECT_FALSE(loaded.Memory().IdString.empty()) << "the demo configuration's string";
  EXPECT_EQ(line.Controllers().At(2).Memory().ModuleXAddress, 9);
  EXPECT_TRUE(line.Controllers().At(2).Memory().IdString.empty());
  EXPECT_TRUE(line.Written().empty()) << "the preload did not use the line";

  std::vector<SimLineController> broken(1);
  broken[0].LoadPath = "/nonexistent/file.dat";
  SimSerialPort other(clock);
  EXPECT_FALSE(SetUpSimulatedControllers(other, broken, clock, prompt));
}

}  // namespace
}  // namespace brixo::testing
