// An aspect in words and on its time line, told only with what the editor shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>

#include "model/duration_format.h"
#include "model/program_words.h"
#include "model/time_line.h"
#include "support/case_name.h"
#include "support/random_configuration.h"

namespace brixo {
namespace {

using testing::ConfigurationDice;

// The examples a user reads in the device tab.
struct WordsCase {
  std::string Name;
  StepRecord Step;
  std::string Words;
};

class AspectWords : public ::testing::TestWithParam<WordsCase> {};

TEST_P(AspectWords, ReadAsTheEditorShowsTheStep) {
  ConfigModel model;  // numbered from 1
  model.PinTable[0].Description = "Signal";
  model.PinTable[1].Description = "Signal red";
  model.PinTable[0].AspectConfig = 3;
  model.PinTable[0].Aspects[1].Steps[4] = GetParam().Step;
  const std::vector<ProgramLine> lines = AspectInWords(model, 0, 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Text, "4: " + GetParam().Words);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AspectWords,
    ::testing::Values(WordsCase{"off with fade", {8, 1, 1, 0, 0, 0}, "pin 2 \"Signal red\" \u2014 Off, fade, T(/60) 0"},
                      WordsCase{"wait", {102, 0, 0, 0, 15, 0}, "Wait 00:00.30"},
                      WordsCase{"jump", {1, 0, 0, 1, 0, 0}, "Jump to aspect 1, step 0"},
                      WordsCase{"jump in another pin", {1, 0, 1, 2, 3, 0}, "pin 2 \"Signal red\" \u2014 Jump to aspect 2, step 3"},
                      WordsCase{"own pin without description", {9, 0, 2, 5, 0, 0}, "pin 3 \u2014 On, T(/60) 5"},
                      WordsCase{"servo shown with its bias", {39, 0, 0, 0, 0, 0}, "pin 1 \"Signal\" \u2014 Set Servo, Pos. -64"},
                      WordsCase{"clone source numbered", {7, 0, 1, 4, 0, 0}, "pin 2 \"Signal red\" \u2014 Clone, Source 5"},
                      WordsCase{"accel -1", {96, 0, 127, 20, 50, 1}, "SetLevel & Wait 00:08.00, Accel -1, Level 20"},
                      WordsCase{"random wait", {103, 0, 0, 0, 7, 0}, "Wait Random 00:00.14"},
                      WordsCase{"MXpin absolute", {18, 0, 1, 3, 9, 0}, "pin 2 \"Signal red\" \u2014 MXpulse, T(/60) 3, Level 9"},
                      WordsCase{"offset beyond the pins", {8, 0, 100, 0, 0, 0}, "no pin (offset 68) \u2014 Off, T(/60) 0"},
                      WordsCase{"unknown code", {45 + 50, 0, 0, 0, 0, 0}, "unknown instruction 95"}),
    testing::CaseName());

TEST(AspectWordsProperty, EveryNamedInstructionReadsWithoutInternalNames) {
  const InstructionTable& table = StandardInstructionTable();
  const std::regex internal("Par[0-3]|P\\.O\\.|Asp#|Ins#|MXpin|Base|Time");
  ConfigurationDice dice(7);
  for (int opcode = 1; opcode < kOpcodeCount; ++opcode) {
    const InstructionInfo& info = table.Info(opcode);
    if (info.Name.empty()) continue;
    for (int trial = 0; trial < 40; ++trial) {
      ConfigModel model;
      model.NumberingOffset = static_cast<uint8_t>(dice.Between(0, 1));
      const int pin = dice.Between(0, kPinCount - 1);
      model.PinTable[pin].AspectConfig = 2;
      StepRecord step{static_cast<uint8_t>(opcode), static_cast<uint8_t>(dice.Between(0, 1)),
                      static_cast<uint8_t>(dice.Between(0, 31 - pin)), static_cast<uint8_t>(dice.Between(0, 127)),
                      static_cast<uint8_t>(dice.Between(0, 63)), static_cast<uint8_t>(dice.Between(0, 3))};
      model.PinTable[pin].Aspects[5].Steps[2] = step;
      const std::vector<ProgramLine> lines = AspectInWords(model, pin, 5);
      ASSERT_EQ(lines.size(), 1u);
      const std::string& text = lines[0].Text;
      SCOPED_TRACE(text);
      EXPECT_EQ(text.rfind("2: ", 0), 0u);
      EXPECT_NE(text.find(info.Name), std::string::npos);
      EXPECT_FALSE(std::regex_search(text, internal));
      if (HasDuration(info)) {
        EXPECT_NE(text.find(FormatDuration(step.Par2, step.Par3)), std::string::npos);
      }
      if (info.FadeAllowed) {
        EXPECT_EQ(text.find(", fade") != std::string::npos, step.Fade == 1);
      }
      const int target = StepActsOn(table, step, pin);
      if (target >= 0) {
        EXPECT_EQ(text.rfind("2: pin " + std::to_string(target + model.NumberingOffset) + " \u2014 ", 0), 0u);
      }
    }
  }
}

TEST(AspectWordsProperty, OnlyTheStepsOfTheLayoutAreTold) {
  ConfigModel model;
  for (StepRecord& step : model.PinTable[4].Aspects[2].Steps) step = {9, 0, 0, 0, 0, 0};
  const std::pair<uint8_t, size_t> layouts[] = {{0, 0}, {2, 3}, {3, 9}, {5, 0}};
  for (const auto& [layout, count] : layouts) {
    model.PinTable[4].AspectConfig = layout;
    EXPECT_EQ(AspectInWords(model, 4, 2).size(), count) << "layout " << int(layout);
  }
  EXPECT_EQ(ProgramText({}), "No steps\n");
}

// Each used step drawn once, in step order, on the lane of the pin it acts on; bars as long
// as the step's duration on the picture's scale; each jump back marks its part "repeats"
// once; the SVG carries every step's words.
TEST(TimeLineProperty, StepsOnceInOrderBarsAsLongAsTheirDurations) {
  const InstructionTable& table = StandardInstructionTable();
  int jumpsBack = 0;
  for (unsigned seed = 1; seed <= 40; ++seed) {
    ConfigurationDice dice(seed);
    ConfigModel model = dice.Configuration().Model;
    for (int pin = 0; pin < kPinCount; ++pin) {
      PinRecord& record = model.PinTable[pin];
      if (record.AspectConfig != 2 && record.AspectConfig != 3) continue;
      const int steps = record.AspectConfig == 3 ? 9 : 3;
      for (int aspect = 0; aspect < (record.AspectConfig == 3 ? 4 : 12); ++aspect) {
        // Jumps within the aspect, back and forward, are met often enough.
        if (dice.Coin(40)) {
          const int at = dice.Between(0, steps - 1);
          record.Aspects[aspect].Steps[at] = {1, 0, 0, static_cast<uint8_t>(aspect),
                                               static_cast<uint8_t>(dice.Between(0, steps - 1)), 0};
        }
        const TimeLine line = LayOutTimeLine(model, pin, aspect, dice.Between(300, 1000));
        SCOPED_TRACE("seed " + std::to_string(seed) + " pin " + std::to_string(pin) + " aspect " +
                     std::to_string(aspect));
        std::vector<int> used;
        for (int s = 0; s < steps; ++s) {
          if (record.Aspects[aspect].Steps[s].Instruction != 0) used.push_back(s);
        }
        ASSERT_EQ(line.Steps.size(), used.size());
        if (used.empty()) {
          EXPECT_EQ(line.Empty, "No steps");
          continue;
        }
        int64_t time = 0;
        int expectedRepeats = 0;
        for (size_t i = 0; i < used.size(); ++i) {
          const TimeLineStep& drawn = line.Steps[i];
          const StepRecord& step = record.Aspects[aspect].Steps[used[i]];
          EXPECT_EQ(drawn.Step, used[i]);
          EXPECT_EQ(line.Lanes[drawn.Lane].Pin, StepActsOn(table, step, pin));
          if (i > 0) {
            EXPECT_DOUBLE_EQ(drawn.X, line.Steps[i - 1].X + line.Steps[i - 1].Width);
          }
          EXPECT_EQ(drawn.StartTicks, time);
          const bool timed = HasDuration(table.Info(step.Instruction));
          const int64_t ticks = timed ? DurationTicks(step.Par2, step.Par3) : 0;
          EXPECT_EQ(drawn.Ticks, ticks);
          if (ticks == 0) {
            EXPECT_EQ(drawn.Shape, TimeLineShape::Mark);
          } else {
            EXPECT_EQ(drawn.Shape, WaitsRandomly(step.Instruction) ? TimeLineShape::RandomBar : TimeLineShape::Bar);
            EXPECT_DOUBLE_EQ(drawn.Width, std::max(line.MinBarWidth, static_cast<double>(ticks) * line.PixelsPerTick));
          }
          EXPECT_LE(drawn.X + drawn.Width, line.Width);
          time += ticks;
          if (step.Instruction == 1 && step.Par0 == 0 && step.Par1 == aspect && step.Par2 <= used[i]) ++expectedRepeats;
        }
        // After a random wait the time is the controller's: no time is told beyond it.
        for (const TimeLineStep& drawn : line.Steps) {
          if (drawn.Shape != TimeLineShape::RandomBar) continue;
          for (const TimeLineTick& tick : line.Ticks) EXPECT_LE(tick.X, drawn.X);
          break;
        }
        jumpsBack += expectedRepeats;
        EXPECT_EQ(static_cast<int>(line.Repeats.size()), expectedRepeats);
        const std::string svg = TimeLineSvg(line);
        size_t marked = 0;
        for (size_t at = svg.find(">repeats<"); at != std::string::npos; at = svg.find(">repeats<", at + 1)) ++marked;
        EXPECT_EQ(marked, line.Repeats.size());
        for (const TimeLineRepeat& repeat : line.Repeats) {
          const auto first = std::find_if(line.Steps.begin(), line.Steps.end(),
                                          [&](const TimeLineStep& s) { return s.Step >= repeat.FirstStep; });
          ASSERT_NE(first, line.Steps.end());
          EXPECT_DOUBLE_EQ(repeat.X0, first->X);
        }
      }
    }
  }
  EXPECT_GT(jumpsBack, 20);
}

TEST(TimeLineSvg, IsSelfContainedWithItsSizeAndEscapedTexts) {
  ConfigModel model;
  model.PinTable[0].Description = "<A & \"B\">";
  model.PinTable[0].AspectConfig = 2;
  model.PinTable[0].Aspects[0].Steps[0] = {9, 0, 0, 0, 0, 0};
  const std::string svg = TimeLineSvg(LayOutTimeLine(model, 0, 0, 640));
  EXPECT_NE(svg.find("width=\"640\" height=\""), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 640 "), std::string::npos);
  EXPECT_NE(svg.find("&lt;A &amp; &quot;B&quot;&gt;"), std::string::npos);
  for (const char* outside : {"href", "url(", "@font-face", "<image", "<A"}) EXPECT_EQ(svg.find(outside), std::string::npos) << outside;
}

}  // namespace
}  // namespace brixo
