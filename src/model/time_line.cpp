#include "model/time_line.h"

#include <algorithm>
#include <array>

#include "link/text_encoding.h"
#include "model/controller_encoding.h"
#include "model/duration_format.h"
#include "model/numeric_text.h"
#include "model/program_words.h"

namespace brixo {

namespace {

constexpr int kJump = 1;
constexpr double kMargin = 8;
constexpr double kTitleHeight = 22;
constexpr double kJumpBand = 16;
constexpr double kLaneHeight = 26;
constexpr double kAxisHeight = 24;
constexpr double kSlotWidth = 26;
constexpr double kMinBarWidth = 10;
constexpr double kMinLabelWidth = 96;
constexpr double kMinPlotWidth = 120;
// A tick label takes about this much room.
constexpr double kTickLabelWidth = 54;
// About the width of a character at the lane labels' size.
constexpr double kCharWidth = 6.2;

// "pin 2 Signal red", shortened to the room of the label column.
std::string LaneLabel(const ConfigModel& model, int pin, double room) {
  if (pin < 0) return "program";
  std::string label = "pin " + NumberText(pin + model.NumberingOffset);
  const std::string& description = model.PinTable[pin].Description;
  const size_t fits = static_cast<size_t>(std::max(0.0, room / kCharWidth - static_cast<double>(label.size()) - 1));
  if (description.empty() || fits < 2) return label;
  if (CodePoints(description).size() <= fits) return label + " " + description;
  return label + " " + FirstCharacters(description, fits - 1) + "\u2026";
}

std::string TitleOf(const ConfigModel& model, int pin, int aspect) {
  std::string title = PinInWords(model, pin) + ", aspect " + NumberText(aspect);
  const std::string& description = model.PinTable[pin].Aspects[aspect].Description;
  if (!description.empty()) title += " \"" + description + "\"";
  return title;
}

struct UsedStep {
  int Step = 0;
  int Pin = -1;  // the lane's pin
  TimeLineShape Shape = TimeLineShape::Mark;
  int64_t Ticks = 0;
};

UsedStep Classify(const InstructionTable& table, const StepRecord& step, int s, int pin) {
  UsedStep used;
  used.Step = s;
  used.Pin = StepActsOn(table, step, pin);
  const InstructionInfo& info = table.Info(step.Instruction);
  if (HasDuration(info)) used.Ticks = DurationTicks(step.Par2, step.Par3);
  if (used.Ticks > 0) used.Shape = WaitsRandomly(step.Instruction) ? TimeLineShape::RandomBar : TimeLineShape::Bar;
  return used;
}

// Where an arrow meets a step: the centre of a mark, the start of a bar; an unused step is
// met where the next used one starts.
double AnchorOf(const TimeLineStep* step, double x) {
  return step != nullptr && step->Shape == TimeLineShape::Mark ? x + kSlotWidth / 2 : x;
}

}  // namespace

TimeLine LayOutTimeLine(const ConfigModel& model, int pin, int aspect, int width, const InstructionTable& table) {
  TimeLine line;
  line.Width = std::max<double>(width, 2 * kMargin + kMinLabelWidth + kMinPlotWidth);
  line.LaneHeight = kLaneHeight;
  line.MinBarWidth = kMinBarWidth;
  if (pin < 0 || pin >= kPinCount) {
    line.Empty = "No such pin";
    line.Height = kTitleHeight + kLaneHeight;
    return line;
  }
  const PinRecord& record = model.PinTable[pin];
  const int steps = StepCountOf(record.AspectConfig);
  if (aspect < 0 || aspect >= AspectCountOf(record.AspectConfig)) {
    line.Title = PinInWords(model, pin);
    line.Empty = "No such aspect in this layout";
    line.Height = kTitleHeight + kLaneHeight;
    return line;
  }
  line.Title = TitleOf(model, pin, aspect);
  const AspectRecord& program = record.Aspects[aspect];

  std::vector<UsedStep> used;
  for (int s = 0; s < steps; ++s) {
    if (program.Steps[s].Instruction != 0) used.push_back(Classify(table, program.Steps[s], s, pin));
  }
  if (used.empty()) {
    line.Empty = "No steps";
    line.Height = kTitleHeight + kLaneHeight;
    return line;
  }

  // Lanes: the steps that name no pin first, then the pins in their order.
  std::vector<int> lanePins;
  for (const UsedStep& u : used) lanePins.push_back(u.Pin);
  std::sort(lanePins.begin(), lanePins.end());
  lanePins.erase(std::unique(lanePins.begin(), lanePins.end()), lanePins.end());

  // Jumps within the aspect's own program, each on a band of its own above the lanes.
  struct JumpPlan {
    int From = 0;
    int To = 0;
  };
  std::vector<JumpPlan> jumps;
  for (const UsedStep& u : used) {
    const StepRecord& step = program.Steps[u.Step];
    if (step.Instruction == kJump && step.Par0 == 0 && step.Par1 == aspect && step.Par2 < steps) {
      jumps.push_back({u.Step, step.Par2});
    }
  }

  const double labelWidth = std::max(kMinLabelWidth, std::min(170.0, line.Width * 0.22));
  line.PlotLeft = kMargin + labelWidth + kMargin;
  const double plotRight = line.Width - 2 * kMargin;
  const double lanesTop = kTitleHeight + kJumpBand * static_cast<double>(jumps.size()) + 4;
  for (size_t i = 0; i < lanePins.size(); ++i) {
    TimeLineLane lane;
    lane.Pin = lanePins[i];
    lane.Label = LaneLabel(model, lane.Pin, labelWidth);
    lane.Y = lanesTop + kLaneHeight * (static_cast<double>(i) + 0.5);
    line.Lanes.push_back(std::move(lane));
  }
  line.AxisY = lanesTop + kLaneHeight * static_cast<double>(lanePins.size()) + 4;
  line.Height = line.AxisY + kAxisHeight;

  // The bars share what the marks leave of the plot, in proportion to their durations.
  int64_t totalTicks = 0;
  int marks = 0;
  for (const UsedStep& u : used) {
    totalTicks += u.Ticks;
    if (u.Shape == TimeLineShape::Mark) ++marks;
  }
  const double barRoom = std::max(0.0, plotRight - line.PlotLeft - kSlotWidth * marks);
  line.PixelsPerTick = totalTicks > 0 ? barRoom / static_cast<double>(totalTicks) : 0;

  std::array<double, kStepCount + 1> startX{};
  std::array<const TimeLineStep*, kStepCount + 1> stepAt{};
  double x = line.PlotLeft;
  int64_t time = 0;
  size_t next = 0;
  line.Ticks.push_back({x, FormatTicks(0)});
  double lastTickX = x;
  bool timeKnown = true;
  line.Steps.reserve(used.size());
  for (int s = 0; s < steps; ++s) {
    startX[s] = x;
    if (next >= used.size() || used[next].Step != s) continue;
    const UsedStep& u = used[next++];
    TimeLineStep drawn;
    drawn.Step = s;
    drawn.Lane = static_cast<int>(std::lower_bound(lanePins.begin(), lanePins.end(), u.Pin) - lanePins.begin());
    drawn.Shape = u.Shape;
    drawn.X = x;
    drawn.StartTicks = time;
    drawn.Ticks = u.Ticks;
    drawn.Width = u.Shape == TimeLineShape::Mark
                      ? kSlotWidth
                      : std::max(kMinBarWidth, static_cast<double>(u.Ticks) * line.PixelsPerTick);
    drawn.Words = NumberText(s) + ": " + StepInWords(model, pin, program.Steps[s], table);
    x += drawn.Width;
    time += u.Ticks;
    line.Steps.push_back(std::move(drawn));
    stepAt[s] = &line.Steps.back();
    // The time is told where a duration ends, as far as the labels leave room; after a
    // random wait the program's time is no longer known.
    if (u.Shape == TimeLineShape::RandomBar) timeKnown = false;
    if (u.Ticks > 0 && timeKnown && x - lastTickX >= kTickLabelWidth) {
      line.Ticks.push_back({x, FormatTicks(time)});
      lastTickX = x;
    }
  }
  startX[steps] = x;
  // The picture grows when the shortest bars had to be drawn wider than their share.
  line.Width = std::max(line.Width, x + 2 * kMargin);

  for (size_t j = 0; j < jumps.size(); ++j) {
    TimeLineJump jump;
    jump.FromStep = jumps[j].From;
    jump.ToStep = jumps[j].To;
    jump.FromX = AnchorOf(stepAt[jump.FromStep], startX[jump.FromStep]);
    jump.ToX = AnchorOf(stepAt[jump.ToStep], startX[jump.ToStep]);
    jump.Back = jump.ToStep <= jump.FromStep;
    jump.Y = kTitleHeight + kJumpBand * (static_cast<double>(j) + 0.5);
    line.Jumps.push_back(jump);
    if (jump.Back) {
      line.Repeats.push_back({jump.ToStep, jump.FromStep, startX[jump.ToStep],
                              startX[jump.FromStep] + (stepAt[jump.FromStep] ? stepAt[jump.FromStep]->Width : 0),
                              jump.Y});
    }
  }
  return line;
}

}  // namespace brixo
