#pragma once
// Random configurations of everything a controller holds, each value one the window's
// editors or a controller can produce, for the backup properties.
#include <random>
#include <string>

#include "model/controller_encoding.h"
#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo::testing {

struct RandomConfiguration {
  ConfigModel Model;
  GeneralSettings General;
  EventControlState Events;
};

class ConfigurationDice {
 public:
  explicit ConfigurationDice(unsigned seed) : random_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Coin(int percent = 50) { return Between(1, 100) <= percent; }

  // Printable characters; texts other than the identification string cannot carry a
  // double quote in a data file.
  std::string Text(int maxLength, bool quotes = false) {
    std::string text;
    const int length = Between(0, maxLength);
    for (int i = 0; i < length; ++i) {
      char c = static_cast<char>(Between(32, 126));
      if (c == '!' && quotes) c = '"';  // often enough to be met in every run
      text.push_back(c == '"' && !quotes ? '!' : c);
    }
    return text;
  }

  StepRecord Step() {
    StepRecord step;
    SplitStepCode(Between(0, 127), step);
    const bool fullBytes = step.Instruction == 4 || step.Instruction == 5;
    step.Par0 = static_cast<uint8_t>(fullBytes ? 0 : Between(0, 127));
    step.Par1 = static_cast<uint8_t>(Between(0, fullBytes ? 255 : 127));
    step.Par2 = static_cast<uint8_t>(Between(0, fullBytes ? 255 : 127));
    step.Par3 = static_cast<uint8_t>(Between(0, 127));
    return step;
  }

  void FillPin(PinRecord& pin, int p) {
    static constexpr uint8_t kLayouts[] = {0, 2, 3, 3, 5};
    pin.Description = Text(20);
    pin.DeviceDescription = Coin(20) ? Text(10) : "";
    pin.DevicePointer = static_cast<int16_t>(Coin(30) ? Between(-p, kPinCount - 1 - p) : 0);
    pin.AspectConfig = kLayouts[Between(0, 4)];
    pin.InitAspect = static_cast<uint8_t>(Between(0, 15));
    pin.DccAddressCount = static_cast<uint8_t>(Between(0, 7));
    pin.XDccAddressCount = static_cast<uint8_t>(Between(0, 1));
    pin.SerialAddressCount = static_cast<uint8_t>(Between(0, 7));
    pin.OutputConfig = {};
    pin.OutputConfig[0] = static_cast<uint8_t>(Between(0, 5));
    static constexpr int kBytes[] = {1, 12, 6, 6, 5, 5};
    for (int i = 1; i < kBytes[pin.OutputConfig[0]]; ++i) pin.OutputConfig[i] = static_cast<uint8_t>(Between(0, 127));
    if (pin.OutputConfig[0] == 1) pin.OutputConfig[2] = static_cast<uint8_t>(Between(0, 63));
    pin.OutputLevel = pin.OutputConfig[1];
    for (AspectRecord& aspect : pin.Aspects) {
      aspect.Description = Text(8);
      for (StepRecord& step : aspect.Steps) step = Step();
    }
  }

  void FillGeneral(GeneralSettings& g) {
    g.TextGenIDString = Text(12, true);
    g.ChkGenDCCAllow0 = Coin();
    g.TextGenDCCAddress = std::to_string(Between(g.ChkGenDCCAllow0 ? 0 : 1, 510));
    g.TextGenXDCCAddress = std::to_string(Between(g.ChkGenDCCAllow0 ? 0 : 1, 2046));
    g.OptGenDCC_PRP = Between(0, 3);
    g.ChkGenDCC_BPSI = Coin();
    g.CheckGenForceXA = Coin(25);
    g.CheckGenTamloaddr = Coin();
    g.CheckGenBrixoNative = !g.CheckGenTamloaddr && Coin();
    g.FlexAddress = static_cast<uint8_t>(g.CheckGenTamloaddr ? Between(0, 127) : 0);
    g.ModuleXAddress = static_cast<uint8_t>(g.CheckGenForceXA ? 0 : Between(0, 95));
    for (bool& box : g.CheckGenXGM) box = Coin();
    for (int k = 0; k < 4; ++k) {
      g.ChkGenHWCSink[k] = Coin();
      g.ChkGenHWCSource[k] = Coin();
    }
    for (auto* boxes : {&g.CheckLCGreen, &g.CheckLCOrange}) {
      bool any = false;
      for (int k = 0; k < 7; ++k) any |= ((*boxes)[k] = Coin() ? 1 : 0) != 0;
      (*boxes)[7] = any ? 0 : 2;
    }
    g.CheckGenSerialEnable = Coin();
    g.ComboGenBaud = Between(0, 7);
    g.OptionGenSerialDatabits = Between(0, 1);
    g.OptionGenSerialStop = Between(0, 1);
    static constexpr int kParities[] = {0, 2, 3};
    g.OptionGenSerialParity = kParities[Between(0, 2)];
  }

  void FillEvents(EventControlState& ev) {
    for (int p = 0; p < kPinCount; ++p) {
      for (int i = 0; i < 4; ++i) {
        ev.OnAction[p][i] = static_cast<int16_t>(Between(-1, 14));
        ev.OffAction[p][i] = static_cast<int16_t>(Between(-1, 14));
      }
    }
    for (bool& box : ev.CheckInitEE) box = Coin();
    ev.EnableMapKnown = true;
  }

  RandomConfiguration Configuration() {
    RandomConfiguration c;
    c.Model.NumberingOffset = static_cast<uint8_t>(Between(0, 1));
    for (int p = 0; p < kPinCount; ++p) FillPin(c.Model.PinTable[p], p);
    FillGeneral(c.General);
    FillEvents(c.Events);
    return c;
  }

 private:
  std::mt19937 random_;
};

}  // namespace brixo::testing
