#pragma once
// A transfer context on the in-process simulated controller for the general-settings and
// event-control tests, behind a port that can reshape the controller's replies.
#include <vector>

#include "support/recording_transfer_view.h"
#include "support/reply_rewriting_port.h"
#include "support/sim_link_fixture.h"
#include "transfer/transfer_context.h"

namespace brixo::gentest {

class SimTest : public testing::SimLinkTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(port.Open("SIM"));
    link.AttachPort(&rewriting);
  }
  ControllerMemory& Memory() { return port.Controller().Memory(); }
  // Replaces the payload of replies that echo the given two bytes.
  void ReshapeReply(int r0, int r1, std::vector<int> replacement) {
    rewriting.Rewrite = [=](std::vector<int>& payload, int&) {
      if (payload[0] == r0 && payload[1] == r1) payload = replacement;
    };
  }
  // The reply that echoes r0, r1 comes back with the wrong alternation bit: the link
  // rejects it without switching bidirectional communication off.
  void SpoilReply(int r0, int r1) {
    rewriting.Rewrite = [=](std::vector<int>& payload, int& address) {
      if (payload[0] == r0 && payload[1] == r1) address ^= 64;
    };
  }

  testing::ReplyRewritingPort rewriting{port};
  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  testing::RecordingTransferView view;
  TransferContext ctx{link, model, maps, general, events, report, view};
};

}  // namespace brixo::gentest
