// The general-settings reads (112, s) and writes (96, s, ...) of the simulated controller.
#include <algorithm>

#include "sim/sim_controller.h"

namespace brixo {

namespace {
constexpr std::array<int, 10> kEraseMessage{96, 0, 83, 61, 11, 29, 66, 9, 35, 14};

template <size_t N>
void Store(std::array<uint8_t, N>& target, const std::vector<int>& payload) {
  for (size_t i = 0; i < N; ++i) target[i] = static_cast<uint8_t>(payload[2 + i]);
}
}  // namespace

std::vector<int> SimController::ReadGeneral(int sub) const {
  const ControllerMemory& m = memory_;
  std::vector<int> reply{112, sub};
  auto add = [&reply](auto... values) { (reply.push_back(values), ...); };
  switch (sub) {
    case 0:
      add(m.Version[0], m.Version[1], m.Version[2], m.Version[3]);
      break;
    case 1:
      add(m.HardwareConfig[0], m.HardwareConfig[1], m.HardwareConfig[2], m.HardwareConfig[3]);
      break;
    case 2:
      add(m.ModuleXAddress);
      break;
    case 3:
      add(m.GroupMask[0], m.GroupMask[1], m.GroupMask[2], m.GroupMask[3]);
      break;
    case 4:
      add(m.DccLow, m.DccHigh);
      break;
    case 5:
      add(m.DccOptions);
      break;
    case 6:
      add(m.GreenLed);
      break;
    case 7:
      add(m.OrangeLed);
      break;
    case 8:
      add(m.SerialFlexFlag, m.SerialAddressByte);
      break;
    case 10:
      for (size_t i = 0; i < m.IdString.size() && i < kIdStringMax; ++i) {
        add(static_cast<unsigned char>(m.IdString[i]) & 127);
      }
      break;
    case 11:
      if (faults_.NoEventControl) break;  // firmware without event inputs knows no map
      add(m.EnableOnMask, m.EnableOffMask);
      break;
    case 12:
      add(m.XDccLow, m.XDccHigh);
      break;
    case 13:
      add(m.SerialEnable, m.SerialFormat);
      break;
    default:
      break;  // unknown sub-command: only the echo comes back
  }
  return reply;
}

std::vector<int> SimController::WriteGeneral(const std::vector<int>& payload) {
  ControllerMemory& m = memory_;
  const size_t n = payload.size();
  const int sub = n >= 2 ? payload[1] : -1;
  auto value = [&payload](size_t i) { return static_cast<uint8_t>(payload[i]); };
  // A message of the wrong length is ignored rather than half applied.
  switch (sub) {
    case 0:
      if (n == kEraseMessage.size() && std::equal(payload.begin(), payload.end(), kEraseMessage.begin())) {
        memory_ = FactoryMemory();
      }
      break;
    case 1:
      if (n == 6) Store(m.HardwareConfig, payload);
      break;
    case 2:
      if (n == 3) m.ModuleXAddress = value(2);
      break;
    case 3:
      if (n == 6) Store(m.GroupMask, payload);
      break;
    case 4:
      if (n == 4) m.DccLow = value(2), m.DccHigh = value(3);
      break;
    case 5:
      if (n == 3) m.DccOptions = value(2);
      break;
    case 6:
      if (n == 3) m.GreenLed = value(2);
      break;
    case 7:
      if (n == 3) m.OrangeLed = value(2);
      break;
    case 8:
      if (n == 4) m.SerialFlexFlag = value(2), m.SerialAddressByte = value(3);
      break;
    case 10:
      if (n <= 2 + kIdStringMax) {
        m.IdString.clear();
        for (size_t i = 2; i < n; ++i) m.IdString.push_back(static_cast<char>(payload[i]));
      }
      break;
    case 11:
      if (n == 4 && !faults_.NoEventControl) m.EnableOnMask = value(2), m.EnableOffMask = value(3);
      break;
    case 12:
      if (n == 4) m.XDccLow = value(2), m.XDccHigh = value(3);
      break;
    case 13:
      if (n == 4) m.SerialEnable = value(2), m.SerialFormat = value(3);
      break;
    default:
      break;
  }
  return {payload.begin(), payload.begin() + std::min<size_t>(2, n)};
}

}  // namespace brixo
