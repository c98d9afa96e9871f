// Replies that arrive at the line's pace are awaited whole: the exchange wakes for the
// first byte and sleeps the wire time of the rest, so a reply costs no more than its bytes
// on the wire and two wake-ups once its size is known. Only a reply shorter than every
// earlier one of its kind costs more: the wire time of the bytes it lacks, never a window.
#include <gtest/gtest.h>

#include "link_test_support.h"

namespace brixo::test {
namespace {

constexpr double kByteSeconds = 11.0 / 38400;

// A line at 38400 bit/s on a ManualClock: the scripted reply to each write starts when the
// request has crossed the line and comes one byte time after another. Waits behave as on
// a real port: for the first byte, then the wire time of the missing ones.
class PacedPort : public SerialPort {
 public:
  explicit PacedPort(ManualClock& clock) : clock_(clock) {}
  std::deque<Bytes> Replies;  // one per write; an empty one is silence
  int Wakeups = 0;

  bool SetLineSettings(const std::string&) override { return true; }
  std::string LineSettings() const override { return "38400,o,8,1"; }
  bool Open(const std::string&) override { return open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Write(std::span<const uint8_t> bytes) override {
    const double start = clock_.NowSeconds() + bytes.size() * kByteSeconds;
    if (!Replies.empty()) {
      const Bytes reply = Replies.front();
      Replies.pop_front();
      for (size_t i = 0; i < reply.size(); ++i) queue_.push_back({reply[i], start + (i + 1) * kByteSeconds});
    }
    return open_;
  }
  int BytesWaiting() override {
    int n = 0;
    while (n < static_cast<int>(queue_.size()) && queue_[n].Due <= clock_.NowSeconds() + 1e-12) ++n;
    return n;
  }
  int ReadByte() override {
    if (BytesWaiting() == 0) return -1;
    const int b = queue_.front().Value;
    queue_.pop_front();
    return b;
  }
  bool WaitForBytes(int timeoutMs) override { return WaitForCount(1, timeoutMs); }
  bool WaitForCount(int count, int timeoutMs) override {
    const double end = clock_.NowSeconds() + timeoutMs / 1000.0;
    if (BytesWaiting() == 0) {
      ++Wakeups;
      if (queue_.empty() || queue_.front().Due > end) {
        clock_.Advance(end - clock_.NowSeconds());
        return false;
      }
      clock_.Advance(queue_.front().Due - clock_.NowSeconds());
    }
    const int have = BytesWaiting();
    if (have >= count) return true;
    ++Wakeups;
    clock_.Advance(std::min((count - have) * kByteSeconds, end - clock_.NowSeconds()));
    return true;
  }

 private:
  struct Timed {
    uint8_t Value;
    double Due;
  };
  ManualClock& clock_;
  std::deque<Timed> queue_;
  bool open_ = true;
};

// The reply of the controller at module 0 to a request with alternation bit toggle.
Bytes Reply(uint8_t toggle, const std::vector<int>& payload) {
  Bytes frame{static_cast<uint8_t>(3 + toggle), static_cast<uint8_t>(0xE0 + payload.size())};
  for (int v : payload) frame.push_back(static_cast<uint8_t>(128 + v));
  return WithCheck(frame);
}

// A link on a paced line, with what it shows.
struct PacedLink {
  PacedLink() { link.AttachPort(&port); }
  ManualClock clock;
  RecordingPrompt prompt;
  RecordingLog log;
  PacedPort port{clock};
  BrixoLink link{clock, prompt, log};
};

struct PacingCase {
  const char* Name;
  std::vector<std::vector<int>> Payloads;  // the replies to one request, asked again and again
  int MostWakeupsAfterFirst;               // per exchange, once the reply's size is known
};

TEST(ReplyPacing, EachExchangeTakesItsWireTimeAndFewWakeups) {
  const PacingCase cases[] = {
      {"version reply", {{112, 0, 3, 2, 1, 0}, {112, 0, 3, 2, 1, 0}, {112, 0, 3, 2, 1, 0}}, 2},
      {"longest reply", {std::vector<int>(15, 5), std::vector<int>(15, 5), std::vector<int>(15, 5)}, 2},
      {"empty reply", {{}, {}, {}}, 2},
      // A shorter reply than last time: the wait ends with its check byte.
      {"reply shrinks", {{112, 0, 3, 2, 1, 0}, {112, 0}, {112, 0, 3}}, 4},
      // Waiting for the shortest size seen: the rest is a second wait.
      {"reply grows", {{112, 0}, {112, 0, 3, 2, 1, 0}, {112, 0, 3, 2, 1, 0}}, 4},
  };
  for (const PacingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    PacedLink line;
    auto& [clock, prompt, log, port, link] = line;
    uint8_t toggle = 0;
    size_t shortest = 99;
    for (size_t i = 0; i < c.Payloads.size(); ++i) {
      port.Replies.push_back(Reply(toggle, c.Payloads[i]));
      const int wakeups = port.Wakeups;
      const double start = clock.NowSeconds();
      ASSERT_TRUE(link.SendBrixoMessage(true, {112, 0}));
      ASSERT_TRUE(link.ReplyValid) << "exchange " << i;
      EXPECT_EQ(link.ReplyLength(), static_cast<int>(c.Payloads[i].size()));
      const double took = clock.NowSeconds() - start;
      const double wire = (5 + 3 + c.Payloads[i].size()) * kByteSeconds;
      if (c.Payloads[i].size() < shortest && i > 0) {
        EXPECT_GE(took, wire - 1e-9) << "exchange " << i;
        EXPECT_LE(took, (5 + 3 + shortest) * kByteSeconds + 1e-9) << "exchange " << i;
      } else {
        EXPECT_NEAR(took, wire, 1e-9) << "exchange " << i;
      }
      shortest = std::min(shortest, c.Payloads[i].size());
      if (i > 0) {
        EXPECT_LE(port.Wakeups - wakeups, c.MostWakeupsAfterFirst) << "exchange " << i;
      }
      toggle ^= 64;
    }
    EXPECT_TRUE(prompt.Messages.empty());
  }
}

// Many requests name a pin in their second byte. The first request for another pin goes
// by what the same command answered for the pins before; a request whose reply is shorter
// than that (a sub-command of another size) costs at most the wire time of the bytes it
// lacks, never a window.
TEST(ReplyPacing, ReplySizeCarriesOverToTheSameCommandForOtherPins) {
  struct Step {
    std::vector<int> Request;
    std::vector<int> Reply;
    int MostWakeups;
  };
  const std::vector<int> aspect{99, 0, 1, 2, 3, 4, 5, 6, 7};
  const Step steps[] = {
      {{99, 0}, aspect, 4},  // nothing known yet: the header first, then the rest
      {{99, 1}, aspect, 2},  {{99, 2}, aspect, 2}, {{99, 31}, aspect, 2},
      {{99, 7, 1}, aspect, 4},                 // another length: another kind of request
      {{99, 8}, {99, 8}, 2},                   // shorter than the pins before
      {{99, 9}, {99, 9}, 2},
  };
  PacedLink line;
  auto& [clock, prompt, log, port, link] = line;
  uint8_t toggle = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE("request for pin " + std::to_string(step.Request[1]));
    port.Replies.push_back(Reply(toggle, step.Reply));
    const int wakeups = port.Wakeups;
    const double start = clock.NowSeconds();
    ASSERT_TRUE(link.SendBrixoMessage(true, step.Request));
    ASSERT_TRUE(link.ReplyValid);
    EXPECT_EQ(link.ReplyLength(), static_cast<int>(step.Reply.size()));
    EXPECT_LE(port.Wakeups - wakeups, step.MostWakeups);
    const double most = (3 + step.Request.size() + 3 + aspect.size()) * kByteSeconds;
    EXPECT_LE(clock.NowSeconds() - start, most + 1e-9);
    toggle ^= 64;
  }
  EXPECT_TRUE(prompt.Messages.empty());
}

// Tunnelled, the acknowledgement and the reply fetched by the poll are awaited whole too.
TEST(ReplyPacing, TunnelledExchangeTakesItsWireTime) {
  PacedLink line;
  auto& [clock, prompt, log, port, link] = line;
  link.CheckQuendal = true;
  const Bytes ack = WithCheck({0x28});                                // an empty host frame
  const Bytes reply = WithCheck({0x2D, 0x80, 0xE0, 0xE2, 0xF0, 0x80});  // 0, 96, 98, 112, 0
  for (int i = 0; i < 3; ++i) {
    port.Replies.push_back(ack);
    port.Replies.push_back(reply);
    const int wakeups = port.Wakeups;
    const double start = clock.NowSeconds();
    ASSERT_TRUE(link.SendBrixoMessage(true, {112, 0}));
    ASSERT_TRUE(link.ReplyValid) << (prompt.Messages.empty() ? "" : prompt.Messages[0]);
    EXPECT_EQ(link.R(0), 112);
    const double wire = (7 + ack.size() + 2 + reply.size()) * kByteSeconds;  // request, ack, poll, reply
    EXPECT_NEAR(clock.NowSeconds() - start, wire, 1e-9) << "exchange " << i;
    if (i > 0) {
      EXPECT_LE(port.Wakeups - wakeups, 4) << "exchange " << i;
    }
  }
}

}  // namespace
}  // namespace brixo::test
