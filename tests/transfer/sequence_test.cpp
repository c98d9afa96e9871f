#include "transfer/whole_sequences.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/controller_encoding.h"
#include "pin_test_fixture.h"
#include "transfer/deferred_commands.h"

namespace brixo::testing {
namespace {

// A configuration with something other than the defaults in every transferred field.
void FillConfiguration(ConfigModel& model, GeneralSettings& general, EventControlState& events) {
  for (int p = 0; p < 32; ++p) {
    PinRecord pin = SamplePin(static_cast<uint8_t>(p % 3 == 0 ? 3 : p % 3 == 1 ? 2 : 0));
    pin.DevicePointer = static_cast<int16_t>(p >= 3 && p % 4 == 1 ? -3 : 0);
    pin.InitAspect = static_cast<uint8_t>(p % 5);
    pin.DccAddressCount = static_cast<uint8_t>(p % 7);
    pin.SerialAddressCount = static_cast<uint8_t>((p + 3) % 7);
    pin.XDccAddressCount = static_cast<uint8_t>(p % 2);
    switch (p % 4) {
      case 0: pin.OutputConfig = {1, 70, 43, 60, 100, 58, 90, 80, 70, 5, 50, 6, 0}; break;
      case 1: pin.OutputConfig = {3, 12, 2, 20, 1, 29, 0, 0, 0, 0, 0, 0, 0}; break;
      case 2: pin.OutputConfig = {5, 0, 0, 7, 9, 0, 0, 0, 0, 0, 0, 0, 0}; break;
      default: break;
    }
    model.PinTable[p] = pin;
  }

  general.CheckGenTamloaddr = true;
  general.FlexAddress = 20;
  general.TextGenTamloaddr = "81";
  general.ModuleXAddress = 17;
  general.TextGenXaddr = "18";
  for (int g : {0, 5, 10, 15}) general.CheckGenXGM[g] = true;
  general.TextGenDCCAddress = "300";
  general.TextGenXDCCAddress = "1500";
  general.OptGenDCC_PRP = 2;
  general.ChkGenDCC_BPSI = true;
  general.ChkGenHWCSink = {true, false, true, false};
  general.ChkGenHWCSource = {false, true, true, false};
  general.TextGenIDString = "Yard West";
  general.CheckGenSerialEnable = true;
  general.ComboGenBaud = 7;
  general.OptionGenSerialStop = 1;
  general.OptionGenSerialParity = 2;
  general.CheckLCGreen = {1, 0, 0, 1, 0, 0, 0, 0};
  general.CheckLCOrange = {0, 0, 0, 0, 0, 0, 0, 2};

  for (int p = 0; p < 32; ++p) {
    for (int i = 0; i < 4; ++i) {
      events.OnAction[p][i] = static_cast<int16_t>((p + i) % 13 - 1);
      events.OffAction[p][i] = static_cast<int16_t>((p * 3 + i) % 13 - 1);
    }
  }
  events.CheckInitEE = {true, false, true, false, false, true, true, false};
}

class SequenceTest : public TransferTest {
 protected:
  DeferredCommands commands{ctx};
};

TEST_F(SequenceTest, WriteAllThenReadAllReproducesTheConfiguration) {
  FillConfiguration(model, general, events);
  commands.PostCommand("WriteAll");
  commands.Tick();
  ASSERT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();

  ConfigModel readModel;
  AddressMaps readMaps;
  GeneralSettings readGeneral;
  EventControlState readEvents;
  RecordingTransferView readView;
  TransferContext readCtx{link, readModel, readMaps, readGeneral, readEvents, report, readView};
  ReadAllSequence(readCtx);
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
  EXPECT_FALSE(readGeneral.QuietAddressUpdate);

  for (int p = 0; p < 32; ++p) {
    SCOPED_TRACE("pin " + std::to_string(p));
    const PinRecord& w = model.PinTable[p];
    const PinRecord& r = readModel.PinTable[p];
    EXPECT_EQ(r.AspectConfig, w.AspectConfig);
    EXPECT_EQ(r.InitAspect, w.InitAspect);
    EXPECT_EQ(r.DccAddressCount, w.DccAddressCount);
    EXPECT_EQ(r.XDccAddressCount, w.XDccAddressCount);
    EXPECT_EQ(r.SerialAddressCount, w.SerialAddressCount);
    EXPECT_EQ(r.DevicePointer, w.DevicePointer);
    EXPECT_EQ(r.OutputConfig, w.OutputConfig);
    for (int a = 0; a < AspectCountOf(w.AspectConfig); ++a) {
      for (int s = 0; s < StepCountOf(w.AspectConfig); ++s) {
        StepRecord expected = w.Aspects[a].Steps[s];
        if (expected.Instruction == 4) expected.Par0 = 0;
        EXPECT_EQ(r.Aspects[a].Steps[s], expected) << a << "/" << s;
      }
    }
  }

  EXPECT_EQ(readGeneral.LabelGenVersionString, "3.2.1.0");
  EXPECT_EQ(readGeneral.CheckGenTamloaddr, general.CheckGenTamloaddr);
  EXPECT_EQ(readGeneral.FlexAddress, general.FlexAddress);
  EXPECT_EQ(readGeneral.CheckGenBrixoNative, general.CheckGenBrixoNative);
  EXPECT_EQ(readGeneral.CheckGenForceXA, general.CheckGenForceXA);
  EXPECT_EQ(readGeneral.ModuleXAddress, general.ModuleXAddress);
  EXPECT_EQ(readGeneral.CheckGenXGM, general.CheckGenXGM);
  EXPECT_EQ(readGeneral.TextGenDCCAddress, general.TextGenDCCAddress);
  EXPECT_EQ(readGeneral.TextGenXDCCAddress, general.TextGenXDCCAddress);
  EXPECT_EQ(readGeneral.OptGenDCC_PRP, general.OptGenDCC_PRP);
  EXPECT_EQ(readGeneral.ChkGenDCC_BPSI, general.ChkGenDCC_BPSI);
  EXPECT_EQ(readGeneral.ChkGenDCCAllow0, general.ChkGenDCCAllow0);
  EXPECT_EQ(readGeneral.ChkGenHWCSink, general.ChkGenHWCSink);
  EXPECT_EQ(readGeneral.ChkGenHWCSource, general.ChkGenHWCSource);
  EXPECT_EQ(readGeneral.TextGenIDString, general.TextGenIDString);
  EXPECT_EQ(readGeneral.CheckGenSerialEnable, general.CheckGenSerialEnable);
  EXPECT_EQ(readGeneral.ComboGenBaud, general.ComboGenBaud);
  EXPECT_EQ(readGeneral.OptionGenSerialDatabits, general.OptionGenSerialDatabits);
  EXPECT_EQ(readGeneral.OptionGenSerialStop, general.OptionGenSerialStop);
  EXPECT_EQ(readGeneral.OptionGenSerialParity, general.OptionGenSerialParity);
  EXPECT_EQ(readGeneral.CheckLCGreen, general.CheckLCGreen);
  EXPECT_EQ(readGeneral.CheckLCOrange, general.CheckLCOrange);
  EXPECT_EQ(readEvents.OnAction, events.OnAction);
  EXPECT_EQ(readEvents.OffAction, events.OffAction);
  EXPECT_EQ(readEvents.CheckInitEE, events.CheckInitEE);

  // The derived maps follow the counts that were read.
  int dccTotal = 0;
  for (const auto& pin : model.PinTable) dccTotal += pin.DccAddressCount;
  EXPECT_EQ(readMaps.DccAddressTotal, dccTotal);
}

TEST_F(SequenceTest, VerifyAllOfAnUnchangedControllerEndsVerifyOk) {
  FillConfiguration(model, general, events);
  WriteAllSequence(ctx);
  report.Text = "stale";
  VerifyAllSequence(ctx);
  const std::string& text = report.Text;
  EXPECT_EQ(text.rfind("Start General Settings Verification", 0), 0u) << text;
  EXPECT_NE(text.find("Start EC Verification\r\n"), std::string::npos);
  EXPECT_NE(text.find("Start Pin Verification\r\n"), std::string::npos);
  EXPECT_EQ(text.find("compare"), std::string::npos) << text;
  const std::string end = "\r\nVerify OK\r\nCompared general settings, event control and 32 pins: no differences.";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
  EXPECT_EQ(view.Calls.back(), "ShowReport");
}

TEST_F(SequenceTest, GeneralSettingsDifferenceStopsVerifyAll) {
  FillConfiguration(model, general, events);
  WriteAllSequence(ctx);
  port.Controller().Memory().IdString = "Yard East";
  ClearPayloads();
  view.Calls.clear();
  VerifyAllSequence(ctx);
  const std::string end = "\r\nVerification Stopped\r\nCompared general settings: 1 difference.";
  EXPECT_EQ(report.Text.substr(report.Text.size() - end.size()), end);
  EXPECT_EQ(report.Text.find("Start EC Verification"), std::string::npos);
  EXPECT_EQ(report.Text.find("Start Pin Verification"), std::string::npos);
  EXPECT_EQ(CountCommand(116) + CountCommand(117) + CountCommand(113), 0);
  EXPECT_EQ(view.Calls, (std::vector<std::string>{"SetBusy(0)", "ShowReport"}));
}

// On a controller without event control (and a configuration without an enable map, so
// that nothing of the part is read), each verification names exactly the parts it
// compared, and the one it could not.
TEST_F(SequenceTest, WithoutEventControlTheSummaryNamesOnlyWhatWasCompared) {
  FillConfiguration(model, general, events);
  events.EnableMapKnown = false;
  WriteAllSequence(ctx);
  port.Controller().Faults().NoEventControl = true;
  const std::string skipped = " Not compared: event control (the controller does not support it).";
  struct Case {
    VerificationResult (*run)(TransferContext&);
    std::string end;
  };
  for (const Case& c : {Case{VerifyAllSequence, "\r\nVerification Stopped\r\nCompared general settings: no differences."},
                        Case{CompareAllSequence,
                             "\r\nVerification Stopped\r\nCompared general settings and 32 pins: no differences."}}) {
    EXPECT_FALSE(c.run(ctx).Ok);
    ASSERT_GE(report.Text.size(), c.end.size() + skipped.size()) << report.Text;
    EXPECT_EQ(report.Text.substr(report.Text.size() - c.end.size() - skipped.size()), c.end + skipped);
  }
}

// Write Changes on a controller without event control writes what differs in the parts it
// has and says that event control was neither compared nor written; its verdict stays
// short of "Verify OK".
TEST_F(SequenceTest, WriteChangesWithoutEventControlWritesThePartsTheControllerHas) {
  FillConfiguration(model, general, events);
  events.EnableMapKnown = false;
  WriteAllSequence(ctx);
  port.Controller().Faults().NoEventControl = true;
  const std::string passedOver = "; event control was not compared or written: the controller does not support it";
  const struct {
    const char* name;
    void (*edit)(ConfigModel&, GeneralSettings&);
    std::string said;
  } cases[] = {
      {"pin and ID string differ",
       [](ConfigModel& m, GeneralSettings& g) {
         m.PinTable[4].InitAspect = 9;
         g.TextGenIDString = "Yard East";
       },
       "Write Changes wrote everything that differed (1 pin)" + passedOver},
      {"nothing differs", [](ConfigModel&, GeneralSettings&) {}, "Write Changes found nothing to write" + passedOver},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.edit(model, general);
    ClearPayloads();
    ASSERT_TRUE(commands.PostCommand("WriteChanged"));
    commands.Tick();
    EXPECT_FALSE(commands.LastSucceeded());
    EXPECT_EQ(commands.LastEndedEarlyText(), c.said);
    const std::string end = "\r\nVerification Stopped\r\nCompared general settings and 32 pins: no differences. "
                            "Not compared: event control (the controller does not support it).";
    ASSERT_GE(report.Text.size(), end.size());
    EXPECT_EQ(report.Text.substr(report.Text.size() - end.size()), end);
    const auto payloads = Payloads();
    const bool wrote = std::any_of(payloads.begin(), payloads.end(), [](const auto& p) { return p[0] >= 96 && p[0] <= 102; });
    EXPECT_EQ(wrote, c.said.find("wrote") != std::string::npos);
    EXPECT_TRUE(CompareAllSequence(ctx).Differences.empty()) << report.Text;
  }
}

struct SilentCase {
  bool silent;         // never answers
  int answeredFrames;  // or: drops the frame after these (one-shot)
  std::vector<std::vector<int>> accepted;
};

class ReadAllStopTest : public SequenceTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(ReadAllStopTest, StopsAtTheFirstFailureYetRefreshesAndHidesTheLabel) {
  model.PinTable[0].DccAddressCount = 2;
  model.PinTable[1].DccAddressCount = 3;
  port.Controller().Faults().NoReply = GetParam().silent;
  port.Controller().Faults().FailAfterFrames = GetParam().answeredFrames;
  ASSERT_TRUE(commands.PostCommand("ReadAll"));
  commands.Tick();
  // A dropped frame is one-shot: anything sent after it would be accepted and show here.
  EXPECT_EQ(Payloads(), GetParam().accepted);
  for (const char* call : {"RebuildAddressMaps", "ShowPin", "ShowAddressCounts", "ShowOutputConfig", "SetBusy(0)"}) {
    EXPECT_TRUE(view.Saw(call)) << call;
  }
  EXPECT_FALSE(commands.LabelActionVisible());
  EXPECT_EQ(maps.DccStart[2], 5);
  EXPECT_EQ(maps.DccAddressTotal, 5);
}

INSTANTIATE_TEST_SUITE_P(Silence, ReadAllStopTest,
                         ::testing::Values(SilentCase{true, -1, {{112, 0}}}, SilentCase{false, 0, {}},
                                           SilentCase{false, 1, {{112, 0}}}));

TEST_F(SequenceTest, ReadAllShowsItsPhases) {
  ReadAllSequence(ctx);
  const auto& p = view.Progress;
  const auto general = std::find(p.begin(), p.end(), "General settings");
  const auto firstPin = std::find(p.begin(), p.end(), "Reading pin 1 of 32");
  const auto lastPin = std::find(p.begin(), p.end(), "Reading pin 32 of 32");
  const auto eventsPhase = std::find(p.begin(), p.end(), "Event control");
  ASSERT_NE(eventsPhase, p.end());
  EXPECT_TRUE(general < firstPin && firstPin < lastPin && lastPin < eventsPhase);
}

TEST_F(SequenceTest, WriteAllWritesTheSerialAddressingLast) {
  FillConfiguration(model, general, events);
  WriteAllSequence(ctx);
  const auto payloads = Payloads();
  ASSERT_GE(payloads.size(), 3u);
  const size_t n = payloads.size();
  EXPECT_EQ(payloads[n - 3], (std::vector<int>{96, 8, 1, 20}));
  EXPECT_EQ(payloads[n - 2], (std::vector<int>{96, 3, 1, 2, 4, 8}));
  EXPECT_EQ(payloads[n - 1], (std::vector<int>{96, 2, 17}));
  EXPECT_EQ(payloads[n - 4], (std::vector<int>{96, 11, 10, 9}));
  EXPECT_EQ(view.Calls.back(), "SetBusy(0)");
}

// "Stop" lives in the busy area: while a whole write runs, no frame goes out after the area
// was hidden (the event tables' step hides it when it runs by itself).
TEST_F(SequenceTest, WholeWritesKeepTheBusyAreaUpToTheirLastFrame) {
  for (const char* command : {"WriteAll", "WriteChanged"}) {
    SCOPED_TRACE(command);
    FillConfiguration(model, general, events);
    port.Controller().Memory() = {};
    view.Calls.clear();
    int frames = 0;
    int framesWhileHidden = 0;
    const auto lastBusyCall = [&] {
      const auto busy = std::find_if(view.Calls.rbegin(), view.Calls.rend(),
                                     [](const std::string& c) { return c.rfind("SetBusy", 0) == 0; });
      return busy == view.Calls.rend() ? std::string() : *busy;
    };
    link.onBetweenExchanges = [&] {
      ++frames;
      if (lastBusyCall() != "SetBusy(1)") ++framesWhileHidden;
    };
    ASSERT_TRUE(commands.PostCommand(command));
    commands.Tick();
    EXPECT_TRUE(commands.LastSucceeded());
    EXPECT_GT(frames, 100);
    EXPECT_EQ(framesWhileHidden, 0);
    EXPECT_EQ(lastBusyCall(), "SetBusy(0)");
  }
}

TEST_F(SequenceTest, AConfigurationWithoutAnEnableMapLeavesTheControllersMapAlone) {
  FillConfiguration(model, general, events);
  port.Controller().Memory().EnableOnMask = 3;
  port.Controller().Memory().EnableOffMask = 12;
  events.EnableMapKnown = false;
  ASSERT_TRUE(WriteAllSequence(ctx));
  for (const auto& payload : Payloads()) EXPECT_FALSE(payload[0] == 96 && payload[1] == 11);
  EXPECT_EQ(port.Controller().Memory().EnableOnMask, 3);
  EXPECT_EQ(port.Controller().Memory().EnableOffMask, 12);
  const VerificationResult result = VerifyAllSequence(ctx);
  EXPECT_TRUE(result.Ok) << report.Text;
  EXPECT_EQ(result.NotCompared.size(), 2u);
  const std::string end = "\r\nVerify OK\r\nCompared general settings, event control and 32 pins: no differences.";
  EXPECT_EQ(report.Text.substr(report.Text.size() - end.size()), end);
}

TEST_F(SequenceTest, WriteAllLeavesTheAddressingAloneWhenAnEarlierStepFails) {
  FillConfiguration(model, general, events);
  view.OnProgress = [&](const std::string& text) {
    if (text == "Event control") port.Close();
  };
  WriteAllSequence(ctx);
  EXPECT_EQ(CountCommand(98), 32);
  EXPECT_EQ(CountCommand(101), 0);
  for (const auto& p : Payloads()) EXPECT_FALSE(p[0] == 96 && (p[1] == 8 || p[1] == 2 || p[1] == 11));
  EXPECT_EQ(view.Calls.back(), "SetBusy(0)");
}

}  // namespace
}  // namespace brixo::testing
