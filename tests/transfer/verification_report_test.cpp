#include "transfer/verification_report.h"

#include <gtest/gtest.h>

namespace brixo {
namespace {

struct ClosingCase {
  const char* name;
  std::vector<std::string> compared;
  std::string partial;
  int differences;
  bool ok;
  int parts;
  const char* verdict;
  const char* summary;
};

// The verdict says whether the comparison reached its end; the summary what it compared.
const ClosingCase kClosings[] = {
    {"all equal", {"general settings", "event control", "32 pins"}, "", 0, true, 3, "Verify OK",
     "Compared general settings, event control and 32 pins: no differences."},
    {"every pin checked, some differ", {"general settings", "event control", "32 pins"}, "", 2, false, 3,
     "Differences Found", "Compared general settings, event control and 32 pins: 2 differences."},
    {"general settings differ, nothing else compared", {"general settings"}, "", 1, false, 3,
     "Verification Stopped", "Compared general settings: 1 difference."},
    {"stopped in the pins", {"general settings", "event control"}, "11 of 32 pins", 0, false, 3,
     "Verification Stopped", "Compared general settings, event control and 11 of 32 pins: no differences."},
    {"nothing answered", {}, "", 0, false, 1, "Verification Stopped", "Nothing was compared to its end."},
    {"pins alone", {"32 pins"}, "", 1, false, 1, "Differences Found", "Compared 32 pins: 1 difference."},
    {"a bad reply alone does not claim a difference", {"event control"}, "", 0, false, 1, "Verification Stopped",
     "Compared event control: no differences."},
};

class ClosingTest : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(ClosingTest, VerdictAndSummary) {
  const ClosingCase& c = GetParam();
  VerificationReport report;
  report.AppendReportLine("Start Pin Verification");
  report.Compared = c.compared;
  report.Partial = c.partial;
  report.Differences = c.differences;
  EXPECT_EQ(VerificationVerdict(report, c.ok, c.parts), c.verdict);
  EXPECT_EQ(VerificationSummary(report), c.summary);
  CloseVerificationReport(report, c.ok, c.parts);
  EXPECT_EQ(report.Text, "Start Pin Verification\r\n" + std::string(c.verdict) + "\r\n" + c.summary);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClosingTest, ::testing::ValuesIn(kClosings), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
});

TEST(VerificationReportTest, ClearForgetsTheCountsToo) {
  VerificationReport report;
  report.AppendDifference("Pin 1: Init does not compare");
  report.Compared = {"32 pins"};
  report.Partial = "3 of 32 pins";
  EXPECT_EQ(report.Differences, 1);
  report.Clear();
  EXPECT_EQ(report.Text, "");
  EXPECT_EQ(report.Differences, 0);
  EXPECT_TRUE(report.Compared.empty());
  EXPECT_TRUE(report.Partial.empty());
}

}  // namespace
}  // namespace brixo
