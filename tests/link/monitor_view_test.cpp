// What the communication monitor shows of the log: every line stamped with its time since
// the start, filtered by direction or with the feedback polls left out, and kept in step
// with the log's bounded history.
#include <gtest/gtest.h>

#include "link/communication_log.h"
#include "link_test_support.h"

namespace brixo::test {
namespace {

// A log with a request and its reply at 0 ms and 12 ms, a poll and its reply at 250 ms,
// and a host frame pair at 1.5 s.
struct LogRig {
  ManualClock Clock;
  CommunicationLog Log{kHistoryLines, &Clock};
  LogRig() {
    Log.AppendLine(">  [47] [62] [70] [02]");
    Clock.Advance(0.012);
    Log.AppendLine("< [47] [62] [70] [02] [03]");
    Clock.Advance(0.238);
    Log.SetPolling(true);
    Log.AppendLine(">  [03] [60]");
    Log.AppendLine("< [03] [64] [01] [02] [03] [04]");
    Log.SetPolling(false);
    Clock.Advance(1.25);
    Log.AppendLine(">> [1A] [01]");
    Log.AppendLine("<< [1A] [01] [02]");
  }
};

TEST(MonitorView, EveryFilterWithAndWithoutTimeStamps) {
  LogRig rig;
  struct Case {
    MonitorFilter filter;
    std::vector<std::string> lines;  // with time stamps
  };
  const Case cases[] = {
      {MonitorFilter::All,
       {"       0 ms >  [47] [62] [70] [02]", "      12 ms < [47] [62] [70] [02] [03]", "     250 ms >  [03] [60]",
        "     250 ms < [03] [64] [01] [02] [03] [04]", "    1500 ms >> [1A] [01]", "    1500 ms << [1A] [01] [02]"}},
      {MonitorFilter::ToController,
       {"       0 ms >  [47] [62] [70] [02]", "     250 ms >  [03] [60]", "    1500 ms >> [1A] [01]"}},
      {MonitorFilter::FromController,
       {"      12 ms < [47] [62] [70] [02] [03]", "     250 ms < [03] [64] [01] [02] [03] [04]",
        "    1500 ms << [1A] [01] [02]"}},
      {MonitorFilter::HidePolls,
       {"       0 ms >  [47] [62] [70] [02]", "      12 ms < [47] [62] [70] [02] [03]", "    1500 ms >> [1A] [01]",
        "    1500 ms << [1A] [01] [02]"}},
  };
  ASSERT_EQ(std::size(cases), static_cast<size_t>(kMonitorFilterCount));
  for (const Case& c : cases) {
    std::string stamped;
    std::string plain;
    for (const std::string& line : c.lines) {
      stamped += line + "\r\n";
      plain += line.substr(12) + "\r\n";
    }
    EXPECT_EQ(MonitorText(rig.Log, {c.filter, true}), stamped) << MonitorFilterCaption(c.filter);
    EXPECT_EQ(MonitorText(rig.Log, {c.filter, false}), plain) << MonitorFilterCaption(c.filter);
  }
  // Everything, without stamps, is the log itself.
  EXPECT_EQ(MonitorText(rig.Log, {}), rig.Log.Text());
}

TEST(MonitorView, MarksStayInStepWithTheBoundedHistory) {
  ManualClock clock;
  CommunicationLog log(10, &clock);
  for (int i = 0; i < 100; ++i) {
    log.SetPolling(i % 2 == 1);
    log.AppendLine(i % 2 == 0 ? "> request " + std::to_string(i) : "< poll " + std::to_string(i));
    clock.Advance(0.001);
    ASSERT_EQ(log.Marks().size(), log.LineCount()) << i;
  }
  // The newest lines keep their own times and poll marks.
  const std::string shown = MonitorText(log, {MonitorFilter::HidePolls, true});
  EXPECT_NE(shown.find("      98 ms > request 98\r\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("poll"), std::string::npos) << shown;
  log.Clear();
  EXPECT_TRUE(log.Marks().empty());
  log.AppendLine("> after");
  EXPECT_EQ(MonitorText(log, {MonitorFilter::All, true}), "     100 ms > after\r\n");
}

}  // namespace
}  // namespace brixo::test
