// Live batches (the matrix panel, "Brixo 8xSA0/1") when the device goes away halfway.
#include <gtest/gtest.h>

#include "app/live_commands.h"
#include "support/sim_link_fixture.h"

namespace brixo::testing {
namespace {

class LiveBatchTest : public SimLinkTest {
 protected:
  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  LiveTestState state;
  LiveContext live{link, model, maps, general, state};
};

TEST_F(LiveBatchTest, ADeviceLostHalfwayIsToldOnce) {
  const std::vector<std::string> gone{"Communications port SIM went away (device unplugged or closed)"};
  const struct {
    const char* Name;
    std::function<void(LiveContext&)> Batch;
  } batches[] = {
      {"matrix", [](LiveContext& l) { SetMatrix(l.Link, 2, {true, true, true, true, true, true, true, true, true, true}); }},
      {"8xSA0", [](LiveContext& l) { BrixoSetAspect(l, 5, "0"); }},
      {"8xSA1", [](LiveContext& l) { BrixoSetAspect(l, 6, "0"); }},
  };
  for (const auto& batch : batches) {
    SCOPED_TRACE(batch.Name);
    port.Controller() = SimController();
    ASSERT_TRUE(port.Open("SIM"));
    prompt.Clear();
    port.Faults().GoneAfterFrames = 2;
    batch.Batch(live);
    EXPECT_EQ(prompt.Messages, gone) << "not followed by \"Select communications port\" for the rest";
    // The next button press is an operation of its own and hears that the port is closed.
    prompt.Clear();
    BrixoSetAspect(live, 0, "1");
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Select communications port"});
  }
}

}  // namespace
}  // namespace brixo::testing
