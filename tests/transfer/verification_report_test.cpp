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

// The n-th difference: pin n+1's initial aspect, file n, controller n+1.
Difference NthDifference(int n) {
  return {{FieldKind::InitAspect, static_cast<int8_t>(n)}, n, n + 1, {}, {}};
}

TEST_P(ClosingTest, DifferencesThenVerdictAndSummary) {
  const ClosingCase& c = GetParam();
  VerificationReport report;
  report.AppendReportLine("Start Pin Verification");
  VerificationResult& result = report.Result;
  result.Ok = c.ok;
  result.Compared = c.compared;
  result.Partial = c.partial;
  std::string listed;
  for (int n = 0; n < c.differences; ++n) {
    result.Differences.push_back(NthDifference(n));
    listed += "pin " + std::to_string(n + 1) + " Initial Aspect: file " + std::to_string(n) + ", controller " +
              std::to_string(n + 1) + "\r\n";
  }
  EXPECT_EQ(VerificationVerdict(result, c.parts), c.verdict);
  EXPECT_EQ(VerificationSummary(result), c.summary);
  Configuration compared;
  compared.Model.NumberingOffset = 1;
  CloseVerificationReport(report, c.parts, compared.Ref());
  EXPECT_EQ(report.Text, "Start Pin Verification\r\n" + listed + c.verdict + "\r\n" + c.summary);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClosingTest, ::testing::ValuesIn(kClosings), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
});

TEST(VerificationReportTest, ClearForgetsTheResultToo) {
  VerificationReport report;
  report.AppendReportLine("Pin 1: Init does not compare");
  report.Result.Ok = false;
  report.Result.Differences.push_back(NthDifference(0));
  report.Result.Compared = {"32 pins"};
  report.Result.Partial = "3 of 32 pins";
  report.Clear();
  EXPECT_EQ(report.Text, "");
  EXPECT_TRUE(report.Result.Ok);
  EXPECT_TRUE(report.Result.Differences.empty());
  EXPECT_TRUE(report.Result.Compared.empty());
  EXPECT_TRUE(report.Result.Partial.empty());
}

// Joining the parts of Verify All keeps what each compared, in order, and the stop of the last.
TEST(VerificationReportTest, AddedResultsKeepTheirPartsAndDifferences) {
  VerificationResult all;
  all.Compared = {"general settings"};
  all.Differences.push_back(NthDifference(0));
  VerificationResult pins;
  pins.Ok = false;
  pins.Partial = "4 of 32 pins";
  pins.Differences.push_back(NthDifference(1));
  all.Add(pins);
  EXPECT_FALSE(all.Ok);
  EXPECT_EQ(all.Compared, std::vector<std::string>{"general settings"});
  EXPECT_EQ(all.Partial, "4 of 32 pins");
  EXPECT_EQ(all.Differences.size(), 2u);
  EXPECT_EQ(VerificationSummary(all), "Compared general settings and 4 of 32 pins: 2 differences.");
}

}  // namespace
}  // namespace brixo
