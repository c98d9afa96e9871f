#pragma once
// The output-parameter tabs (SSTabPCFG) of the current pin without widgets: what each
// page shows and every edit, stored into the pin's OutputConfig at once.
#include <array>
#include <functional>
#include <string>

#include "link/user_prompt.h"
#include "model/output_config.h"
#include "model/pin_model.h"

namespace brixo {

// The hardware-configuration boxes of the four output groups (ChkGenHWCSink / ChkGenHWCSource).
struct HardwareGroupFlags {
  std::array<bool, 4> Sink{};
  std::array<bool, 4> Source{};
};

struct OutputConfigView {
  int SSTabPCFG = kPageClear;
  std::array<std::string, kOutputFieldCount> FieldText{};  // indexed by OutputFieldId
  bool ChkSrvSuspended = false;
  bool ChkSrvAutoSuspend = false;
  bool ChkSrvInitialized = false;
  int OptionServoRange = 0;  // 0 "Off", 1 "S", 2 "M", 3 "L", 4 "XL"
  bool CheckPWMInverted = false;
  int OptionPWMDriveMode = 0;  // 0 "Logaritmic", 1 "Linear"
  int OptionPWMAccelMode = 0;
  bool CheckInputInvert = false;
  bool LabelSrvHWCWarn = false;
  bool LabelInpHWCWarn = false;
  // Test sliders set from OutputLevel when a pin is shown (setting them sends nothing).
  int SliderServo = 0;  // also TextPosition
  int SliderPWM = 0;
};

class OutputConfigEditor {
 public:
  OutputConfigEditor(ConfigModel& model, UserPrompt& prompt) : model_(model), prompt_(prompt) {}

  const OutputConfigView& View() const { return view_; }

  // Told the servo test position (servo page) or PWM test level (PWM page) that showing a
  // pin puts into the test sliders, so the live test state follows without sending.
  std::function<void(int page, int value)> onTestPositionShown;
  void SetHardwareFlags(const HardwareGroupFlags& flags) { hardware_ = flags; }

  // Shows the current pin's configuration; false (after "Unknown configuration: ") for a
  // type the tool does not know, leaving the view as it was.
  bool ShowOutputConfig();
  // A click on a tab: a page that does not match the pin's type installs its defaults.
  void TabClick(int page);

  // Field boxes. Edit* records typed text ("Initial Position" and "Initial Level" store it
  // at once while in range); Commit* clamps and stores as a click or loss of focus does.
  void EditFieldText(OutputFieldId id, const std::string& text);
  std::string CommitField(OutputFieldId id);
  std::string CommitField(OutputFieldId id, const std::string& text);
  void FieldSpinnerChanged(OutputFieldId id, int value);
  // Double-click on "Initial Position" / "Initial Level" (or a click on the label "Initial
  // Level"): the test slider's value becomes the field's value.
  void CopyFromTestSlider(OutputFieldId id, int sliderValue);

  void SetServoRange(int option);
  void SetAutoSuspend(bool checked);
  void SetSuspended(bool checked);
  void SetPwmInverted(bool checked);
  void SetInputLowActive(bool checked);
  void SetDriveMode(int option);
  void SetAccelMode(int option);

  // Validates the fields of the page shown, in the order a commit of edits needs.
  void CommitPageFields();

 private:
  PinRecord& Pin();
  // False while the page shown belongs to another configuration (after an unknown type
  // left the view as it was): edits must then not reach this pin's bytes.
  bool ShowsCurrentPin();
  std::string& Text(OutputFieldId id) { return view_.FieldText[static_cast<int>(id)]; }
  void StoreField(const OutputField& field, int value);
  void StoreServoFlags();
  void StorePwmModes();
  bool HardwareMismatch() const;

  ConfigModel& model_;
  UserPrompt& prompt_;
  HardwareGroupFlags hardware_;
  OutputConfigView view_;
};

}  // namespace brixo
