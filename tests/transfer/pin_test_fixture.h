#pragma once
// A transfer context wired to the in-process simulated controller, with a recording view.
// Shared by the pin, deferred-command and sequence tests.
#include <vector>

#include "support/recording_transfer_view.h"
#include "support/reply_rewriting_port.h"
#include "support/sim_link_fixture.h"
#include "transfer/transfer_context.h"

namespace brixo::testing {

class TransferTest : public SimLinkTest {
 protected:
  std::vector<int> Commands() const {
    std::vector<int> codes;
    for (const auto& p : Payloads()) codes.push_back(p[0]);
    return codes;
  }
  int CountCommand(int code) const {
    int n = 0;
    for (int c : Commands()) n += c == code;
    return n;
  }
  PinMemory& SimPin(int p) { return port.Controller().Memory().Pins[p]; }

  ConfigModel model;
  AddressMaps maps;
  GeneralSettings general;
  EventControlState events;
  VerificationReport report;
  RecordingTransferView view;
  TransferContext ctx{link, model, maps, general, events, report, view};
};

// A pin program that exercises every encoding: fade, the seven-bit split of "SendSerial 1",
// a backward device pointer, all three address counts and an initial aspect.
inline PinRecord SamplePin(uint8_t layout) {
  PinRecord pin;
  pin.AspectConfig = layout;
  pin.InitAspect = 3;
  pin.DccAddressCount = 2;
  pin.XDccAddressCount = 1;
  pin.SerialAddressCount = 3;
  pin.DevicePointer = -3;
  for (int a = 0; a < 12; ++a) {
    for (int s = 0; s < 9; ++s) {
      pin.Aspects[a].Steps[s] = StepRecord{uint8_t(1 + (a + s) % 3), 0, uint8_t(s), uint8_t(a), uint8_t(a + s), 1};
    }
  }
  pin.Aspects[0].Steps[0] = StepRecord{38, 1, 2, 17, 5, 2};     // "Set Level" with fade
  pin.Aspects[1].Steps[1] = StepRecord{4, 0, 0, 200, 129, 3};   // "SendSerial 1", Byte 200
  return pin;
}

}  // namespace brixo::testing
