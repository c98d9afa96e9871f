#pragma once
// The tool's copy of the controller's event-control tables and the tab's fields.
#include <array>
#include <cstdint>
#include <string>

#include "model/pin_model.h"

namespace brixo {

constexpr int kEventInputCount = 4;

struct EventControlState {
  // -1 = no action; 0..11 editable; 12..14 kept as read from a controller.
  std::array<std::array<int16_t, kEventInputCount>, kPinCount> OnAction{};
  std::array<std::array<int16_t, kEventInputCount>, kPinCount> OffAction{};
  uint8_t CurrentEventPin = 0;
  // Text of the "Pin" field: CurrentEventPin + NumberingOffset.
  std::string TextECpin = "1";
  // 0..3: on-events of inputs 0..3 enabled at start; 4..7: off-events.
  std::array<bool, 8> CheckInitEE{};
  // False while the boxes do not stand for a known map: after loading a file that holds
  // none, or when the controller did not answer its read. Write All then leaves the
  // controller's map alone and verification does not compare it.
  bool EnableMapKnown = true;
  // Texts of the "ON:" and "OFF:" fields of the shown pin.
  std::array<std::string, kEventInputCount> TextECon{"-1", "-1", "-1", "-1"};
  std::array<std::string, kEventInputCount> TextECoff{"-1", "-1", "-1", "-1"};
};

}  // namespace brixo
