#pragma once
// The help tools behind a double-click on a step row: which calculator opens with which
// preset, and how its result goes back into the step.
#include <string>

#include "model/calculators.h"
#include "model/pin_editor.h"

namespace brixo {

enum class HelpBox { Par1, Par2, Par3, Duration };  // TextPAspPar1..3, LabelPAspTime
enum class HelpToolKind { None, Pattern, EventMap, Time };

inline constexpr const char* kHelpToolNotAvailable =
    "Help tool not available for this box with the selected command";
inline constexpr const char* kNoStepForCalculator = "No step of the aspect shown uses this calculator";

struct HelpToolRequest {
  HelpToolKind Kind = HelpToolKind::None;
  PatternPreset Pattern;    // Kind == Pattern
  EventMapPreset EventMap;  // Kind == EventMap
  std::string TimeBase;     // Kind == Time: TextCTBase
  int TimeSlider = 0;       //                SliderCTTime
  std::string Message;      // Kind == None: the message to show
};

HelpToolRequest OpenHelpTool(PinEditor& editor, int row, HelpBox box);

// The calculator the instruction of step row `row` offers; None for a hidden row.
HelpToolKind HelpToolOf(PinEditor& editor, int row);
// The box whose double-click opens a calculator.
HelpBox HelpToolBox(HelpToolKind kind);
// The row a calculator chosen from a menu works on: the row being edited when its
// instruction offers that calculator, else the first visible row whose instruction does;
// -1 when no row does.
int HelpToolRow(PinEditor& editor, HelpToolKind kind);

// Results taken back as if typed, without range clamping; each refreshes the row.
void TakePatternResult(PinEditor& editor, int row, const std::string& parameterText);
void TakeEventMapResult(PinEditor& editor, int row, const std::string& parameterText);
void TakeTimeResult(PinEditor& editor, int row, int base, int slider);

}  // namespace brixo
