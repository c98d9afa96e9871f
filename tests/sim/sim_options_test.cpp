// The simulator's options as a user gives them: every one its help text lists is taken,
// each fault option arms its fault, and a device that "goes away" closes its line.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "app/program_version.h"
#include "sim/sim_options.h"
#include "sim/sim_process.h"
#include "sim_test_support.h"

namespace brixo::test {
namespace {

// The option names of the help text, with whether each takes a value.
std::vector<std::pair<std::string, bool>> HelpOptions() {
  std::vector<std::pair<std::string, bool>> options;
  std::stringstream help(SimHelp());
  const std::regex line(R"(^  (--[a-z-]+)( [A-Z]+)? .*)");
  for (std::string text; std::getline(help, text);) {
    std::smatch m;
    if (std::regex_match(text, m, line)) options.emplace_back(m[1], m[2].matched);
  }
  return options;
}

TEST(SimOptions, EveryOptionTheHelpListsIsTaken) {
  const auto options = HelpOptions();
  ASSERT_GE(options.size(), 20u);
  for (const auto& [name, takesValue] : options) {
    SimOptions parsed;
    std::string error;
    std::vector<std::string> args{name};
    // --faulty names a controller of the line, which is at module 0 without --modules.
    if (takesValue) args.push_back(name == "--baud" ? "38400" : name == "--faulty" ? "0" : "1");
    EXPECT_TRUE(ParseSimOptions(args, parsed, error)) << name << ": " << error;
    if (takesValue) {
      EXPECT_FALSE(ParseSimOptions({name}, parsed, error)) << name << " without its value";
      EXPECT_EQ(error, "bad value for " + name);
      // A file name can be anything.
      if (name != "--load" && name != "--byte-count") {
        EXPECT_FALSE(ParseSimOptions({name, "x"}, parsed, error)) << name;
      }
    }
  }
}

TEST(SimOptions, EachFaultOptionArmsItsFault) {
  struct Case {
    std::vector<std::string> Args;
    bool (*Armed)(const SimFaults&);
  };
  const Case cases[] = {
      {{"--no-reply"}, [](const SimFaults& f) { return f.NoReply; }},
      {{"--wrong-check-byte"}, [](const SimFaults& f) { return f.WrongCheckByte; }},
      {{"--wrong-alternation-bit"}, [](const SimFaults& f) { return f.WrongAlternationBit; }},
      {{"--stray-bytes", "3"}, [](const SimFaults& f) { return f.StrayBytes == 3; }},
      {{"--delay", "2.5"}, [](const SimFaults& f) { return f.ReplyDelaySeconds == 2.5; }},
      {{"--lose-frame", "40"}, [](const SimFaults& f) { return f.FailAfterFrames == 40; }},
      {{"--fail-after", "7"}, [](const SimFaults& f) { return f.SilentAfterFrames == 7; }},
      {{"--gone-after", "0"}, [](const SimFaults& f) { return f.GoneAfterFrames == 0; }},
      {{"--wrong-xaddr"}, [](const SimFaults& f) { return f.WrongExtendedByte; }},
      {{"--missing-xaddr"}, [](const SimFaults& f) { return f.MissingExtendedByte; }},
      {{"--unexpected-xaddr"}, [](const SimFaults& f) { return f.UnexpectedExtendedByte; }},
      {{"--no-events"}, [](const SimFaults& f) { return f.NoEventControl; }},
  };
  for (const Case& c : cases) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions(c.Args, options, error)) << c.Args[0] << ": " << error;
    EXPECT_TRUE(c.Armed(options.Faults)) << c.Args[0];
    EXPECT_FALSE(c.Armed(SimOptions{}.Faults)) << c.Args[0] << " is off by default";
  }
  SimOptions options;
  std::string error;
  for (const char* bad : {"-1", "61", "nan", "1e400", ""}) {
    EXPECT_FALSE(ParseSimOptions({"--delay", bad}, options, error)) << bad;
  }
  EXPECT_FALSE(ParseSimOptions({"--stray-bytes", "16"}, options, error));
}

TEST(SimOptions, TheFaultsCountFramesFromWhenTheyAreSet) {
  Line line;
  line.port.Controller().Faults().SilentAfterFrames = 2;
  const Bytes version = Request(0, {112, 0});
  EXPECT_FALSE(line.Send(version).empty());
  EXPECT_FALSE(line.Send(Request(0, {112, 0}, true)).empty());
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(line.Send(Request(0, {112, 0}, i % 2 == 0)).empty()) << i;

  Line gone;
  gone.port.Controller().Faults().GoneAfterFrames = 1;
  EXPECT_FALSE(gone.Send(version).empty());
  gone.Send(Request(0, {112, 0}, true));
  EXPECT_FALSE(gone.port.IsOpen()) << "the in-process line closes as the device goes";
  EXPECT_EQ(gone.port.TakeFault(), "Communications port SIM went away (device unplugged or closed)");
}

TEST(BrixoSimProgram, HelpListsTheOptionsAndEnds) {
  SimProcess sim;
  // --help prints no device path: the launcher sees the first help line instead.
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--help"}));
  EXPECT_EQ(sim.Path(), "usage: brixo-sim [options]");
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(BrixoSimProgram, VersionNamesTheProgramsVersionAndEnds) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--version"}));
  EXPECT_EQ(sim.Path(), std::string("brixo-sim ") + kProgramVersion);
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(BrixoSimProgram, AGoneDeviceHangsUpOnTheProgramUsingIt) {
  SimProcess sim;
  ASSERT_TRUE(sim.Start(BRIXO_SIM_EXE, {"--quiet", "--gone-after", "1"}));
  const int fd = open(sim.Path().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  tcsetattr(fd, TCSANOW, &tio);
  const Bytes first = Request(0, {112, 0});
  const Bytes second = Request(0, {112, 0}, true);
  ASSERT_EQ(write(fd, first.data(), first.size()), static_cast<ssize_t>(first.size()));
  uint8_t buffer[64];
  pollfd p{fd, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 3000), 1);
  EXPECT_GT(read(fd, buffer, sizeof buffer), 0) << "the first frame is answered";

  ASSERT_EQ(write(fd, second.data(), second.size()), static_cast<ssize_t>(second.size()));
  ASSERT_EQ(poll(&p, 1, 30000), 1);
  EXPECT_NE(p.revents & (POLLHUP | POLLERR), 0) << "hung up, not answered";
  close(fd);
  EXPECT_EQ(sim.Stop(), 0) << "the simulator ended by itself";
}

}  // namespace
}  // namespace brixo::test
