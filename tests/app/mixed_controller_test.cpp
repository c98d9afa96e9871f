// A stopped or failed Write All leaves a controller holding part of the old and part of
// the new settings; the warning that says so stays, through whatever comes next, until that
// controller was written whole or compared without a difference.
#include "app_test_support.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

class MixObserver : public AppObserver {
 public:
  void ShowMixedController() override { ++Shown; }
  int Shown = 0;
};

// What runs after the Write All that ended early, at which module address.
struct Step {
  const char* Command;
  int Module = 0;
};

struct MixCase {
  std::string Name;
  std::vector<Step> After;
  bool WarningStays;
};

const MixCase kMixCases[] = {
    {"nothing more", {}, true},
    {"a Read All", {{"ReadAll"}}, true},
    {"Verify All with differences", {{"VerifyAll"}}, true},
    {"a pin written", {{"WritePin"}}, true},
    {"the events written", {{"ECWriteAll"}}, true},
    {"Write All to another controller", {{"WriteAll", 5}}, true},
    {"Write All that gets through", {{"WriteAll"}}, false},
    {"Write Changes that gets through", {{"WriteChanged"}}, false},
    {"Read All then Verify All without differences", {{"ReadAll"}, {"VerifyAll"}}, false},
    {"Read All then Compare without differences", {{"ReadAll"}, {"Compare"}}, false},
    {"a complete Write All, then a read", {{"WriteAll"}, {"ReadAll"}}, false},
};

class MixedControllerTest : public ::testing::TestWithParam<MixCase> {
 protected:
  MixedControllerTest() {
    EXPECT_TRUE(app.PreloadSimulator(DataFile("demo.dat")));
    app.SetObserver(&observer);
    EXPECT_TRUE(app.SelectDevice(kSimulatedPortName));
  }
  void Run(const std::string& command) {
    ASSERT_TRUE(app.Commands().PostCommand(command));
    app.RunPendingCommand();
  }

  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
  MixObserver observer;
};

TEST_P(MixedControllerTest, TheWarningStaysUntilTheControllerIsWholeAgain) {
  // The editor holds something else than the controller, so that a half write is a mix.
  app.General().TextGenIDString = "Other Layout";
  app.Model().PinTable[20].Description = "changed";
  // "Stop" part-way through.
  int exchanges = 0;
  app.Link().onBetweenExchanges = [&] {
    if (++exchanges == 40) app.StopOperation();
  };
  Run("WriteAll");
  app.Link().onBetweenExchanges = nullptr;
  ASSERT_TRUE(app.Commands().LastEndedEarly()) << app.LastResult() << " / " << (prompt.Messages.empty() ? "" : prompt.Messages.back());
  ASSERT_TRUE(app.Mixed().has_value()) << app.LastResult();
  const std::string warning = app.MixedWarning();
  EXPECT_EQ(warning.rfind("Module 1: Write All stopped after ", 0), 0u) << warning;  // module 0, shown from 1
  EXPECT_NE(warning.find("mix"), std::string::npos) << warning;
  EXPECT_EQ(observer.Shown, 1);

  for (const Step& step : GetParam().After) {
    app.Link().ModuleAddress = step.Module;
    app.Simulator()->Controller().SetModuleAddress(step.Module);
    Run(step.Command);
  }
  // Neither a later message nor a change of numbering hides it: it is the bar's own.
  app.ShowResult("something else");
  EXPECT_EQ(!app.MixedWarning().empty(), GetParam().WarningStays);
  if (GetParam().WarningStays) {
    EXPECT_EQ(app.MixedWarning(), warning);
  }
}

INSTANTIATE_TEST_SUITE_P(After, MixedControllerTest, ::testing::ValuesIn(kMixCases), CaseName());

TEST(MixedControllerText, NamesTheControllerAsDisplayed) {
  const MixedController mixed{ScanProbe{2, 100}, "Write All stopped after pin 12 of 32"};
  EXPECT_EQ(MixedControllerText(mixed, 0).rfind("Module 2", 0), 0u);
  EXPECT_EQ(MixedControllerText(mixed, 1).rfind("Module 3", 0), 0u);
  EXPECT_NE(MixedControllerText(mixed, 0).find("Write All stopped after pin 12 of 32"), std::string::npos);
}

}  // namespace
}  // namespace brixo::testing
