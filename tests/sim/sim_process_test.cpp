// Starting and stopping brixo-sim as a child process: failures leave nothing running and
// no child unreaped.
#include "sim/sim_process.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

namespace brixo::test {
namespace {

// True when this process has no child left, running or unreaped.
bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(SimProcess, StartFailuresLeaveNothingBehind) {
  struct Case {
    const char* name;
    std::string exe;
    std::vector<std::string> options;
  };
  const Case cases[] = {
      {"no such program", "/nonexistent/brixo-sim", {}},
      {"refused options", BRIXO_SIM_EXE, {"--baud", "14400"}},
      {"no path printed in time", "/bin/sleep", {"5"}},
  };
  for (const Case& c : cases) {
    SimProcess sim;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(sim.Start(c.exe, c.options, 300)) << c.name;
    // Not the sleeping program's five seconds, however busy the machine.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4)) << c.name;
    EXPECT_FALSE(sim.Running()) << c.name;
    EXPECT_TRUE(sim.Path().empty()) << c.name;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

TEST(SimProcess, EachProgramEndsWhenItsOwnInputCloses) {
  // The second program must not hold the first one's input open.
  SimProcess first;
  SimProcess second;
  ASSERT_TRUE(first.Start(BRIXO_SIM_EXE, {"--quiet"}));
  ASSERT_TRUE(second.Start(BRIXO_SIM_EXE, {"--quiet"}));
  EXPECT_NE(first.Path(), second.Path());
  EXPECT_EQ(first.Stop(), 0);
  EXPECT_FALSE(first.Running());
  EXPECT_TRUE(second.Running());
  EXPECT_EQ(second.Stop(), 0);
  EXPECT_TRUE(NoChildLeft());
}

TEST(SimProcess, ProgramThatIgnoresItsInputIsKilledAndReaped) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet", "--ignore-stdin"}));
  EXPECT_EQ(sim.Stop(200), -1);
  EXPECT_TRUE(NoChildLeft());
}

TEST(SimProcess, RestartAndDestructionStopThePreviousProgram) {
  {
    SimProcess sim;
    ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet"}));
    ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet", "--module", "3"}));
    EXPECT_TRUE(sim.Running());
    sim.Kill();
    EXPECT_FALSE(sim.Running());
    EXPECT_TRUE(NoChildLeft());
    ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet"}));
  }
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace brixo::test
