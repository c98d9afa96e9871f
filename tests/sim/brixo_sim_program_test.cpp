// The stand-alone simulator on a pseudo-terminal, driven with plain POSIX calls.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/sim_options.h"
#include "sim/sim_process.h"
#include "sim_test_support.h"

namespace brixo::test {
namespace {

int OpenRaw(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (fd < 0) return fd;
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  cfsetspeed(&tio, B19200);
  tcsetattr(fd, TCSANOW, &tio);
  return fd;
}

Bytes ReadFor(int fd, size_t wanted, int timeoutMs) {
  Bytes out;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (out.size() < wanted && std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) > 0) {
      uint8_t buffer[64];
      const ssize_t n = read(fd, buffer, sizeof buffer);
      if (n > 0) out.insert(out.end(), buffer, buffer + n);
    }
  }
  return out;
}

TEST(BrixoSimProgram, AnswersAVersionRequestOnItsPseudoTerminal) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet"}));
  const std::string path = sim.Path();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;

  for (int round = 0; round < 2; ++round) {  // the device survives a client closing it
    const int fd = OpenRaw(path);
    ASSERT_GE(fd, 0);
    const Bytes request{0x03, 0xE2, 0xF0, 0x80, 0xAB};
    ASSERT_EQ(write(fd, request.data(), request.size()), 5);
    const Bytes reply = ReadFor(fd, 9, 3000);
    EXPECT_EQ(reply, (Bytes{0x03, 0xE6, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80, 0xA1}));
    close(fd);
  }
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(BrixoSimProgram, PacedHostUnitAnswersAtTheLineRate) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet", "--pace", "--baud", "9600", "--host", "--protocol", "3100"}));
  const std::string path = sim.Path();
  const int fd = OpenRaw(path);
  ASSERT_GE(fd, 0);
  const Bytes query = HostRequest({1, 2});
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(write(fd, query.data(), query.size()), 4);
  const Bytes reply = ReadFor(fd, 6, 3000);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(reply.size(), 6u);
  EXPECT_EQ(reply[3] & 127, 25);
  // Ten bytes cross the line at 11 bits each: a little over 11 ms at 9600 bit/s.
  EXPECT_GE(seconds, 10 * 11 / 9600.0 * 0.95);
  close(fd);
}

// Paced replies come one byte at a time; behind a modelled adapter they wait for its timer
// and then come together, as a USB adapter hands them on. (How soon after their wire time
// they come is a measurement of the machine: link_roundtrip_bench.)
TEST(BrixoSimProgram, AdapterLatencyTimerHoldsRepliesBack) {
  struct Case {
    std::vector<std::string> Extra;
    size_t MostReads;     // reads the reply took
    double LeastSeconds;  // from request to whole reply
  };
  const double wire = 14 * 11 / 19200.0;  // request 5 bytes, reply 9
  const Case cases[] = {
      {{}, 9, wire * 0.95},
      {{"--latency-timer", "100"}, 2, wire * 0.95},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Extra.empty() ? "no adapter" : "100 ms timer");
    std::vector<std::string> args{"--quiet", "--pace"};
    args.insert(args.end(), c.Extra.begin(), c.Extra.end());
    SimProcess sim;
    ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, args));
    const int fd = OpenRaw(sim.Path());
    ASSERT_GE(fd, 0);
    const Bytes request{0x03, 0xE2, 0xF0, 0x80, 0xAB};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(write(fd, request.data(), request.size()), 5);
    Bytes reply;
    size_t reads = 0;
    while (reply.size() < 9) {
      pollfd p{fd, POLLIN, 0};
      ASSERT_GT(poll(&p, 1, 3000), 0);
      uint8_t buffer[64];
      const ssize_t n = read(fd, buffer, sizeof buffer);
      ASSERT_GT(n, 0);
      reply.insert(reply.end(), buffer, buffer + n);
      ++reads;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(reply, (Bytes{0x03, 0xE6, 0xF0, 0x80, 0x83, 0x82, 0x81, 0x80, 0xA1}));
    EXPECT_LE(reads, c.MostReads);
    EXPECT_GE(seconds, c.LeastSeconds);
    close(fd);
  }
}

// The simulator counts what crossed the line, for benchmarks of programs it cannot see into.
TEST(BrixoSimProgram, ByteCountIsWrittenWhenItEnds) {
  char folder[] = "/tmp/brixo_sim_count_XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string count = std::string(folder) + "/count";
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet", "--byte-count", count}));
  const int fd = OpenRaw(sim.Path());
  ASSERT_GE(fd, 0);
  const Bytes request{0x03, 0xE2, 0xF0, 0x80, 0xAB};
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(write(fd, request.data(), request.size()), 5);
    ASSERT_EQ(ReadFor(fd, 9, 3000).size(), 9u);
  }
  close(fd);
  EXPECT_EQ(sim.Stop(), 0);
  std::FILE* in = std::fopen(count.c_str(), "r");
  ASSERT_NE(in, nullptr);
  long long received = 0, sent = 0;
  EXPECT_EQ(std::fscanf(in, "%lld %lld", &received, &sent), 2);
  std::fclose(in);
  EXPECT_EQ(received, 10);
  EXPECT_EQ(sent, 18);
  std::remove(count.c_str());
  rmdir(folder);
}

TEST(BrixoSimProgram, Options) {
  struct Case {
    std::vector<std::string> args;
    bool ok;
  };
  const Case cases[] = {
      {{}, true},
      {{"--baud", "38400", "--pace", "--module", "31", "--host", "--no-events"}, true},
      {{"--baud", "14400"}, false},
      {{"--module", "32"}, false},
      {{"--module"}, false},
      {{"--protocol", "3x"}, false},
      {{"--latency-timer", "16"}, true},
      {{"--latency-timer", "0"}, false},
      {{"--latency-timer", "256"}, false},
      {{"--byte-count"}, false},
      {{"--colour"}, false},
  };
  for (const Case& c : cases) {
    SimOptions options;
    std::string error;
    EXPECT_EQ(ParseSimOptions(c.args, options, error), c.ok) << (c.args.empty() ? "" : c.args[0]);
    EXPECT_EQ(error.empty(), c.ok);
  }
  SimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--baud", "9600", "--unit-type", "10", "--unit-version", "1030"}, options, error));
  EXPECT_EQ(options.Baud, 9600);
  EXPECT_EQ(options.UnitType, 10);
  EXPECT_EQ(options.UnitVersion, 1030);
}

}  // namespace
}  // namespace brixo::test
