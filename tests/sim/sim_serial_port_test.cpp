// The in-process port: what it records, and how replies become readable on the clock.
#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace brixo::test {
namespace {

TEST(SimSerialPort, OpenWriteAndRecord) {
  ManualClock clock;
  SimSerialPort port(clock);
  EXPECT_FALSE(port.Write(Request(0, {112, 0})));
  port.SetOpenFails(true);
  EXPECT_FALSE(port.Open("anything"));
  EXPECT_FALSE(port.IsOpen());
  port.SetOpenFails(false);
  EXPECT_TRUE(port.Open("anything"));
  const Bytes request = Request(0, {112, 0});
  EXPECT_TRUE(port.Write(request));
  EXPECT_EQ(port.Written(), request);
  EXPECT_EQ(port.BytesWaiting(), 9);
  port.ClearWritten();
  EXPECT_TRUE(port.Written().empty());
  port.Close();
  EXPECT_EQ(port.BytesWaiting(), 0);
  EXPECT_EQ(port.ReadByte(), -1);
}

TEST(SimSerialPort, WaitForBytesMovesAManualClockToTheReplyOrTheTimeout) {
  struct Case {
    const char* name;
    double delay;
    bool silent;
    int timeoutMs;
    bool arrives;
    double waited;
  };
  const Case cases[] = {
      {"immediate", 0.0, false, 2000, true, 0.0},
      {"delayed within the window", 0.5, false, 2000, true, 0.5},
      {"delayed past the window", 3.0, false, 2000, false, 2.0},
      {"no reply", 0.0, true, 2000, false, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line line;
    line.port.Controller().Faults().ReplyDelaySeconds = c.delay;
    line.port.Controller().Faults().NoReply = c.silent;
    line.port.Write(Request(0, {112, 0}));
    const double start = line.clock.NowSeconds();
    EXPECT_EQ(line.port.WaitForBytes(c.timeoutMs), c.arrives);
    EXPECT_NEAR(line.clock.NowSeconds() - start, c.waited, 0.0015);
    EXPECT_EQ(line.port.BytesWaiting() > 0, c.arrives);
  }
}

// Asking for more bytes than the reply has never costs the window: the wait ends once the
// whole reply is there.
TEST(SimSerialPort, WaitForCountEndsWithTheReplyWhateverCountIsAsked) {
  struct Case {
    const char* name;
    double delay;
    int count;
    bool arrives;
    double waited;
  };
  const Case cases[] = {
      {"the header", 0.25, 2, true, 0.25},
      {"the whole reply", 0.25, 9, true, 0.25},
      {"more than the reply", 0.25, 50, true, 0.25},
      {"late reply", 3.0, 9, false, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Line line;
    line.port.SetReplyDelay(c.delay);
    line.port.Write(Request(0, {112, 0}));
    const double start = line.clock.NowSeconds();
    EXPECT_EQ(line.port.WaitForCount(c.count, 2000), c.arrives);
    EXPECT_NEAR(line.clock.NowSeconds() - start, c.waited, 0.0015);
    EXPECT_EQ(line.port.BytesWaiting(), c.arrives ? 9 : 0);
  }
}

TEST(SimSerialPort, DelayedReplyIsNotReadableEarly) {
  Line line;
  line.port.SetReplyDelay(0.25);
  line.port.Write(Request(0, {112, 0}));
  EXPECT_EQ(line.port.BytesWaiting(), 0);
  EXPECT_EQ(line.port.ReadByte(), -1);
  line.clock.Advance(0.2);
  EXPECT_FALSE(line.port.WaitForBytes(10));
  line.clock.Advance(0.05);
  EXPECT_EQ(line.port.BytesWaiting(), 9);
}

TEST(SimSerialPort, HostAttachedRoutesBytesThroughTheInterfaceUnit) {
  Line line;
  line.port.SetHostAttached(true);
  // A direct frame means nothing to the interface unit.
  EXPECT_TRUE(line.Send(Request(0, {112, 0})).empty());
  EXPECT_TRUE(line.port.ReceivedPayloads().empty());
  EXPECT_EQ(line.Send(HostRequest({})), (Bytes{0x28, 0xD8}));
  line.port.SetHostAttached(false);
  EXPECT_EQ(line.Ask({112, 0}), (std::vector<int>{112, 0, 3, 2, 1, 0}));
}

TEST(SimSerialPort, InjectedBytesAreReadableAtOnce) {
  Line line;
  const Bytes noise{0x80, 0x81};
  line.port.InjectBytes(noise);
  EXPECT_EQ(line.port.ReadByte(), 0x80);
  EXPECT_EQ(line.port.ReadByte(), 0x81);
  EXPECT_EQ(line.port.ReadByte(), -1);
}

}  // namespace
}  // namespace brixo::test
