// On a desktop whose locale writes a decimal comma (the window's toolkit switches the
// process to it), what the user types, what the status bar says and what the simulator's
// options mean stay the same.
#include <gtest/gtest.h>

#include "app/result_text.h"
#include "model/numeric_text.h"
#include "sim/sim_options.h"
#include "support/comma_locale.h"

namespace brixo::test {
namespace {

TEST(DecimalCommaTest, NumbersMeanWhatTheySayInAnyLocale) {
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";

  EXPECT_EQ(ParseLeadingNumber("2.5"), 3);
  EXPECT_EQ(ParseLeadingNumber("-1.6"), -2);

  ConfigModel model;
  VerificationReport report;
  EXPECT_EQ(CommandResultText("ReadAll", true, 14.83, model, report), "Read All: 32 pins in 14.8 s");

  SimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--delay", "0.05"}, options, error)) << error;
  EXPECT_DOUBLE_EQ(options.Faults.ReplyDelaySeconds, 0.05);
  EXPECT_FALSE(ParseSimOptions({"--delay", "0,05"}, options, error));
}

}  // namespace
}  // namespace brixo::test
