#pragma once
// The three calculators behind the step parameters, as plain state machines: the dialogs
// only mirror their check boxes, options, texts and labels.
#include <array>
#include <string>

namespace brixo {

// Output pattern of the Multibit instructions: bit i per output box, bit 5 "All Dark",
// bit 6 "No Dark-phase".
int ComputePattern(const std::array<bool, 7>& outputs, bool allDark, bool noDark);

// Event-input map: bits 0..3 the inputs, bits 4..5 the action, bit 6 the off-event.
// mode is the selected option index 1, 2, 3, 5, 6, 7, or 0 for none.
int ComputeEventMap(const std::array<bool, 4>& events, int mode);

struct PatternPreset {
  std::array<bool, 7> Outputs{};         // chkUitgang 0..6
  std::array<bool, 7> OutputEnabled{};
  bool AllDark = false;                  // chkAllDark
  bool NoDark = false;                   // chkNoDark
  bool DarkEnabled = false;              // both dark-phase boxes
  std::string Original;                  // txtOriginal
};

class PatternCalculator {
 public:
  void Preset(const PatternPreset& preset);
  void SetOutput(int index, bool checked);
  void SetAllDark(bool checked);  // checking it clears "No Dark-phase"
  void SetNoDark(bool checked);   // checking it clears "All Dark"
  void Cancel();                  // the caller reads back what it passed in

  const PatternPreset& State() const { return state_; }
  const std::string& Parameter() const { return parameter_; }  // txtParameter

 private:
  void Recompute();
  PatternPreset state_;
  std::string parameter_ = "0";
};

struct EventMapPreset {
  std::array<bool, 4> Events{};  // chkEvent 0..3
  int Mode = 0;                  // optEvent index 1, 2, 3, 5, 6, 7; 0 none
  std::string Original;          // txtOriginal
};

class EventMapCalculator {
 public:
  void Preset(const EventMapPreset& preset);  // also the dialog's activation
  void SetEvent(int index, bool checked);
  void SelectMode(int mode);
  void Cancel();

  const EventMapPreset& State() const { return state_; }
  const std::string& Parameter() const { return parameter_; }

 private:
  void Recompute();
  EventMapPreset state_;
  std::string parameter_ = "0";
};

class TimeCalculator {
 public:
  // Presets TextCTBase and SliderCTTime and activates the dialog.
  void Preset(const std::string& baseText, int slider);
  void SetSlider(int value);                              // SliderCTTime changed
  std::string CommitBase(const std::string& text);        // TextCTBase click / loss of focus
  void BaseSpinnerChanged(int value);                     // UpDownCTBase
  void Cancel();                                          // restores the opening values

  const std::string& BaseText() const { return baseText_; }  // TextCTBase
  int Base() const { return base_; }
  int Slider() const { return slider_; }
  const std::string& TimeValue() const { return timeValue_; }        // LabelCTTimeValue
  const std::string& MaxTimeValue() const { return maxTimeValue_; }  // LabelCTMaxTimeValue

 private:
  void ShowLabels();
  std::string baseText_ = "0";
  int base_ = 0;
  int slider_ = 0;
  int openedBase_ = 0;
  int openedSlider_ = 0;
  std::string timeValue_ = "00:00.00";
  std::string maxTimeValue_ = "00:00.00";
};

}  // namespace brixo
