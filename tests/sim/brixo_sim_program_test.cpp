// The stand-alone simulator on a pseudo-terminal, driven with plain POSIX calls.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
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
