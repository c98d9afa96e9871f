#pragma once
// An aspect's program on a time line: one lane per pin its steps act on (and one for the
// steps that name no pin), time to the right. Only what the program itself says is drawn:
// the order of the steps, their targets and their defined durations ("Time" and "Base").
// How the controller fades, blinks or draws its random waits is its own and is not
// pictured. A step without a duration is a mark at its start (given a little room, so that
// the order of steps that take no time shows); a step with one is a bar of that length; a
// jump is an arrow, and the part a jump back repeats is drawn once, marked "repeats".
#include <cstdint>
#include <string>
#include <vector>

#include "model/instruction_table.h"
#include "model/pin_model.h"

namespace brixo {

enum class TimeLineShape { Mark, Bar, RandomBar };

struct TimeLineLane {
  int Pin = -1;  // internal number; -1 for the steps that name no pin
  std::string Label;
  double Y = 0;  // centre line
};

struct TimeLineStep {
  int Step = 0;
  int Lane = 0;
  TimeLineShape Shape = TimeLineShape::Mark;
  double X = 0;  // where the step starts
  double Width = 0;
  int64_t StartTicks = 0;  // the durations of the steps before it (random waits at their Time)
  int64_t Ticks = 0;       // its own duration; 0 for a mark
  std::string Words;       // the step in words, for the picture's tool tips
};

// A jump within the aspect's own program, from its mark to the start of the step it names.
struct TimeLineJump {
  int FromStep = 0;
  int ToStep = 0;
  double FromX = 0;
  double ToX = 0;
  double Y = 0;  // height of its arc above the lanes
  bool Back = false;
};

// The steps from FirstStep to the jump at LastStep run again: drawn once, marked "repeats".
struct TimeLineRepeat {
  int FirstStep = 0;
  int LastStep = 0;
  double X0 = 0;
  double X1 = 0;
  double Y = 0;
};

// A time on the axis where a duration ends; none after a random wait, whose end the
// controller decides.
struct TimeLineTick {
  double X = 0;
  std::string Text;
};

struct TimeLine {
  double Width = 0;
  double Height = 0;
  std::string Title;
  std::string Empty;  // what is shown instead of lanes when no step is used
  double LaneHeight = 0;
  double PlotLeft = 0;
  double AxisY = 0;
  double PixelsPerTick = 0;  // the scale of the bars
  double MinBarWidth = 0;    // a bar shorter than this is drawn this wide
  std::vector<TimeLineLane> Lanes;
  std::vector<TimeLineStep> Steps;
  std::vector<TimeLineJump> Jumps;
  std::vector<TimeLineRepeat> Repeats;
  std::vector<TimeLineTick> Ticks;
};

inline constexpr int kDefaultTimeLineWidth = 800;

// Lays out aspect `aspect` of pin `pin` into a picture `width` pixels wide (its height
// follows from the lanes).
TimeLine LayOutTimeLine(const ConfigModel& model, int pin, int aspect, int width = kDefaultTimeLineWidth,
                        const InstructionTable& table = StandardInstructionTable());

// The picture as SVG text: self-contained (no fonts or files named beyond the generic
// sans-serif), with explicit width, height and viewBox, so that it renders alike as a
// file, in the window and on a printed sheet.
std::string TimeLineSvg(const TimeLine& line);

}  // namespace brixo
