// The texts of a picture taken apart from its shapes, for the page painter: plain texts
// come out with everything needed to draw them, anything else stays with the shapes, and
// no text is lost or drawn twice.
#include "files/svg_texts.h"

#include <gtest/gtest.h>

#include "model/controller_encoding.h"
#include "model/time_line.h"
#include "support/case_name.h"
#include "support/random_configuration.h"

namespace brixo {
namespace {

struct TextCase {
  const char* Name;
  const char* Element;
  bool Taken;
  SvgText Expected;
};

class SvgTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(SvgTextsTest, PlainTextsComeOutAndOthersStay) {
  const std::string svg = std::string("<svg><rect x=\"0\"/>\n") + GetParam().Element + "\n</svg>\n";
  const SvgParts parts = SplitSvgTexts(svg);
  if (!GetParam().Taken) {
    EXPECT_EQ(parts.Shapes, svg);
    EXPECT_TRUE(parts.Texts.empty());
    return;
  }
  EXPECT_EQ(parts.Shapes, "<svg><rect x=\"0\"/>\n\n</svg>\n");
  ASSERT_EQ(parts.Texts.size(), 1u);
  const SvgText& got = parts.Texts[0];
  const SvgText& want = GetParam().Expected;
  EXPECT_EQ(got.X, want.X);
  EXPECT_EQ(got.Y, want.Y);
  EXPECT_EQ(got.Size, want.Size);
  EXPECT_EQ(got.Bold, want.Bold);
  EXPECT_EQ(got.Anchor, want.Anchor);
  EXPECT_EQ(got.Fill, want.Fill);
  EXPECT_EQ(got.Text, want.Text);
}

const TextCase kCases[] = {
    {"title",
     "<text x=\"8\" y=\"15\" font-size=\"12\" font-weight=\"bold\" text-anchor=\"start\" fill=\"#202020\">"
     "pin 1 &quot;A&quot; &amp; &lt;B&gt;</text>",
     true,
     {8, 15, 12, true, SvgAnchor::Start, "#202020", "pin 1 \"A\" & <B>"}},
    {"tick",
     "<text x=\"312.5\" y=\"140\" font-size=\"9\" text-anchor=\"middle\">00:00.30</text>",
     true,
     {312.5, 140, 9, false, SvgAnchor::Middle, "#000000", "00:00.30"}},
    {"right aligned",
     "<text x=\"1\" y=\"2\" text-anchor=\"end\">e</text>",
     true,
     {1, 2, 12, false, SvgAnchor::End, "#000000", "e"}},
    {"turned", "<text x=\"1\" y=\"2\" transform=\"rotate(90)\">t</text>", false, {}},
    {"spans", "<text x=\"1\" y=\"2\"><tspan>t</tspan></text>", false, {}},
    {"no number", "<text x=\"a\" y=\"2\">t</text>", false, {}},
    {"other anchor", "<text x=\"1\" y=\"2\" text-anchor=\"left\">t</text>", false, {}},
    {"text path", "<textPath x=\"1\">t</textPath>", false, {}},
    {"unquoted", "<text x=1 y=\"2\">t</text>", false, {}},
};

INSTANTIATE_TEST_SUITE_P(Elements, SvgTextsTest, ::testing::ValuesIn(kCases), testing::CaseName());

// Every time line of random configurations: its texts come out, each once, and nothing
// else goes with them.
TEST(SvgTextsProperty, TimeLinesKeepEveryShapeAndEveryText) {
  testing::ConfigurationDice dice(3);
  for (int round = 0; round < 4; ++round) {
    const ConfigModel model = dice.Configuration().Model;
    for (int pin = 0; pin < kPinCount; ++pin) {
      for (int aspect = 0; aspect < AspectCountOf(model.PinTable[pin].AspectConfig); ++aspect) {
        const TimeLine line = LayOutTimeLine(model, pin, aspect, 600);
        const std::string svg = TimeLineSvg(line);
        const SvgParts parts = SplitSvgTexts(svg);
        EXPECT_EQ(parts.Shapes.find("<text"), std::string::npos);
        size_t texts = 0;
        for (size_t at = svg.find("<text "); at != std::string::npos; at = svg.find("<text ", at + 1)) ++texts;
        ASSERT_EQ(parts.Texts.size(), texts);
        EXPECT_EQ(parts.Texts.front().Text, line.Title);
      }
    }
  }
}

}  // namespace
}  // namespace brixo
