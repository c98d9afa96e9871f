// One grammar for every number the user types or gives on a command line, with "." as the
// decimal point whatever the desktop's locale.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "link/numeric_text.h"
#include "support/comma_locale.h"

namespace brixo::test {
namespace {

void ExpectTheGrammar() {
  const struct {
    const char* Text;
    double Leading;                // NumericValue
    std::optional<double> Whole;   // ParseRealNumber
    bool Numeric;                  // IsNumericText
  } cases[] = {
      {"12abc", 12, std::nullopt, false}, {" 7", 7, std::nullopt, true},    {"7 ", 7, std::nullopt, true},
      {"abc", 0, std::nullopt, false},    {"", 0, std::nullopt, false},     {"-3", -3, -3, true},
      {"3.6", 3.6, 3.6, true},            {"+4", 4, 4, true},               {".5", 0.5, 0.5, true},
      {"5.", 5, 5, true},                 {"-.25", -0.25, -0.25, true},     {"1e5", 1, std::nullopt, false},
      {"0x10", 0, std::nullopt, false},   {"-", 0, std::nullopt, false},    {".", 0, std::nullopt, false},
      {"2,5", 2, std::nullopt, false},    {"inf", 0, std::nullopt, false},  {"1.2.3", 1.2, std::nullopt, false},
      {"+-1", 0, std::nullopt, false},    {"\t-8.5", -8.5, std::nullopt, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_DOUBLE_EQ(NumericValue(c.Text), c.Leading);
    EXPECT_EQ(ParseRealNumber(c.Text), c.Whole);
    EXPECT_EQ(IsNumericText(c.Text), c.Numeric);
  }
  // Beyond a double: infinite, with its sign, so that callers clamp it; tiny: 0.
  const std::string huge(400, '9');
  EXPECT_EQ(NumericValue(huge), HUGE_VAL);
  EXPECT_EQ(NumericValue("-" + huge), -HUGE_VAL);
  EXPECT_EQ(NumericValue("0." + std::string(400, '0') + "1"), 0.0);
  for (const auto& [value, decimals, text] :
       {std::tuple{14.83, 1, "14.8"}, {0.0, 1, "0.0"}, {3.25, 1, "3.2"}, {2.5, 0, "2"}, {1234.5678, 2, "1234.57"}}) {
    EXPECT_EQ(FixedText(value, decimals), text);
  }
}

TEST(NumericTextTest, OneGrammarInEveryLocale) {
  {
    SCOPED_TRACE("C locale");
    ExpectTheGrammar();
  }
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
  SCOPED_TRACE("decimal comma");
  ExpectTheGrammar();
}

}  // namespace
}  // namespace brixo::test
