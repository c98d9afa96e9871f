#pragma once
// The pin / aspect editor without widgets: it holds what every box of the editor shows,
// takes every user edit, validates it into the model and re-derives the view.
#include <array>
#include <string>

#include "model/device_membership.h"
#include "model/instruction_table.h"
#include "model/pin_model.h"
#include "model/step_row_view.h"

namespace brixo {

struct PinEditorView {
  std::string TextPAspOutput = "1";
  int UpDownPAspOutputMin = 1;
  int UpDownPAspOutputMax = 32;
  std::string TextPAspDesc;
  std::string TextDevicePin = "1";
  std::string TextDeviceDescription;
  bool TextDeviceDescriptionEnabled = false;
  std::string TextPAspAspect = "0";
  std::string TextPAspAspDesc;
  std::string TextPAspInit = "-1";
  int UpDownPAspAspectMax = 3;
  int UpDownPAspInitMax = 3;
  int OptionPAspConf = 0;  // 0 "0", 1 "4", 2 "12"
  // LabelPAspAspect, UpDownPAspAspect, LabelPAspInit, UpDownPAspInit, CommandPAspTestAspect.
  bool AspectControlsVisible = false;
  std::array<StepRowView, kStepCount> Rows{};
  ColumnCaptions Captions;
  bool CheckPAspShowDetails = false;
  bool ExpertMode = false;
  DetailsVisibility Details;
};

class PinEditor {
 public:
  explicit PinEditor(ConfigModel& model, const InstructionTable& table = StandardInstructionTable());

  const PinEditorView& View() const { return view_; }
  ConfigModel& Model() { return model_; }
  const InstructionTable& Table() const { return table_; }
  // Step `row` of the current aspect of the current pin.
  StepRecord& Step(int row);

  // Showing only displays: the pin's stored bytes (an unknown layout code, parameters and
  // fade flags an instruction does not use) stay as a file or controller gave them, so a
  // later write never destroys them.
  void ShowPin();
  // Re-derives step row `row`. After an edit of the step (`edited`) the parameters and the
  // fade flag its instruction does not use are cleared; when only showing they are kept.
  void RefreshStep(int row, bool edited = true);
  void OptionPAspConf_Click(int index);
  void SetShowDetails(bool details);
  void SetExpertMode(bool expert);

  // Parameter boxes (par 0..3). Edit* records typed text; Commit* validates the box as a
  // click or loss of focus does and returns the text the box shows afterwards.
  void EditParText(int row, int par, const std::string& text);
  std::string CommitPar(int row, int par);
  std::string CommitPar(int row, int par, const std::string& text);
  void ChooseInstruction(int row, int chooserIndex);  // ComboPAspInst_Click
  void SetFade(int row, bool checked);                // CheckPAspFade

  // Pin number (TextPAspOutput / UpDownPAspOutput): selects the pin and shows it.
  void EditPinText(const std::string& text);
  std::string CommitPinNumber();
  std::string CommitPinNumber(const std::string& text);

  // Aspect number (TextPAspAspect / UpDownPAspAspect).
  void EditAspectText(const std::string& text);
  std::string CommitAspect();
  std::string CommitAspect(const std::string& text);
  void AspectSpinnerMoved(int value);

  // Initial aspect (TextPAspInit / UpDownPAspInit), -1 = none.
  void EditInitText(const std::string& text);
  std::string CommitInitAspect();
  std::string CommitInitAspect(const std::string& text);
  void InitSpinnerMoved(int value);

  // Texts stored on every change.
  void SetPinDescription(const std::string& text);
  void SetAspectDescription(const std::string& text);

  // Device membership: TextDevicePin changes, its click / loss of focus, and the
  // device name box (stored only while enabled).
  void ChangeDevicePin(const std::string& text);
  void LeaveDevicePin();
  void ChangeDeviceDescription(const std::string& text);

  // Commits Par0..Par3 of every visible row, then the aspect box if it is shown.
  void CommitVisibleRows();

  // A box of step row `row` got the focus: the column captions name its fields.
  void FocusRow(int row);
  // The row the captions name; -1 when no visible row has an instruction.
  int CaptionRow() const { return shownCaptionRow_; }

  // The range a typed parameter is brought into, as the box shows numbers.
  struct ParRange {
    int Min = 0;
    int Max = 0;
  };
  ParRange ShownParRange(const StepRecord& step, int par) const;

 private:
  // The layout option's effect; only a choice by the user corrects the stored initial aspect.
  void ApplyLayout(int index, bool userChoice);
  PinRecord& Pin();
  AspectRecord& Aspect();
  void CommitRowParameters();
  void StoreParameter(int row, int par, int value);
  void ShowDeviceFields();
  void UpdateDetails();
  std::string ParDisplayText(const StepRecord& step, int par) const;
  std::string ParTipText(const StepRecord& step, int par) const;
  void ShowCaptions();

  ConfigModel& model_;
  const InstructionTable& table_;
  PinEditorView view_;
  int captionRow_ = -1;       // the row last edited; -1 after a pin or aspect was shown
  int shownCaptionRow_ = -1;  // the row the captions were taken from
};

}  // namespace brixo
