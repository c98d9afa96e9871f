#pragma once
// What the aspect editor shows: one step row, the column captions and the detail controls.
#include <array>
#include <string>

namespace brixo {

// Parameter box indexes within a row: Par0 (TextPAspOffset) .. Par3 (TextPAspPar3).
constexpr int kParCount = 4;

struct StepRowView {
  bool Visible = false;  // the row's chooser, step label, boxes and duration label
  int ChooserIndex = 0;  // item of ComboPAspInst selected
  int Opcode = 0;        // the step's stored Instruction, even when it has no chooser item
  bool FadeVisible = false;  // CheckPAspFade
  bool FadeChecked = false;
  std::array<std::string, kParCount> ParText{"0", "0", "0", "0"};
  std::array<bool, kParCount> ParEnabled{};  // false: greyed in the button-face colour
  // Tool tip of each box: the field it holds and the range typed values are brought into.
  std::array<std::string, kParCount> ParTip{};
  std::string DurationText = "00:00.00";     // LabelPAspTime
};

// The captions over the step columns name the fields of one row: the row being edited,
// or, when a pin or aspect is shown afresh, the first visible row with an instruction.
struct ColumnCaptions {
  std::string LabelPAspHFade;
  std::string LabelPAspOffset;
  std::string LabelPAspHParam1;
  std::string LabelPASpHParam2;
  std::string LabelPAspHParam3;
};

// Controls whose visibility depends on "Show Details", ExpertMode and the layout.
struct DetailsVisibility {
  bool FrameAspdetails = false;
  bool SSTabPCFG = false;
  std::array<bool, 2> CommandPCFGGetParam{};  // 0 "Get Pin Config", 1 "Read Pin Config"
  std::array<bool, 2> CommandPCFGSetParam{};  // 0 "Set Pin Config", 1 "Write Pin Config"
  bool CommandPAspReadPin = false;
  bool CommandPAspWritePin = false;
  bool CommandPAspWriteAspect = false;
  bool LabelPAspHStep = false;
  bool LabelPAspHInst = false;
};

}  // namespace brixo
