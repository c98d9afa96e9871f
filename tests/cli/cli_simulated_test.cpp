// Every command against the built-in simulated controller, checked through what the
// communication log shows on the line.
#include <regex>

#include "cli_test_support.h"

namespace brixo::testing {
namespace {

// The "> " lines of a log, without the frame's address and header bytes.
std::vector<std::string> SentPayloads(const std::string& log) {
  std::vector<std::string> payloads;
  const std::regex sent(R"(^>  \[[0-9A-F]{2}\] \[[0-9A-F]{2}\]((?: \[[0-9A-F]{2}\])*)$)");
  for (const std::string& line : Lines(log)) {
    std::smatch match;
    if (std::regex_match(line, match, sent)) payloads.push_back(match[1].str().empty() ? "" : match[1].str().substr(1));
  }
  return payloads;
}

TEST(CliSimulatedTest, LiveCommandsSendTheirPayloads) {
  const struct {
    std::vector<std::string> args;
    std::vector<std::string> payloads;
  } cases[] = {
      {{"aspect", "3", "2"}, {"[00] [00] [02] [02]"}},
      {{"--zero-based", "aspect", "3", "2"}, {"[00] [00] [03] [02]"}},
      {{"pwm", "1", "40", "--slow"}, {"[00] [36] [00] [1F]"}},
      {{"pwm", "32", "-4"}, {"[00] [26] [1F] [00]"}},
      {{"servo", "2", "-70"}, {"[00] [27] [01] [00]"}},
      {{"servo", "2", "10", "--dynamic"}, {"[00] [37] [01] [4A]"}},
      // Legacy messages are not logged.
      {{"tamlo", "1", "2", "3"}, {}},
      {{"lamp-test", "16"}, {}},
      {{"clear-all"}, {}},
      {{"reset"}, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"--simulate", "--log", "-"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << c.args[0] << "\n" << r.Err;
    EXPECT_EQ(SentPayloads(r.Err), c.payloads) << c.args[0] << "\n" << r.Err;
  }
}

TEST(CliSimulatedTest, LegacyMessageThatWouldReadAsAControllerFrameIsRefused) {
  for (const char* b1 : {"66", "98", "82", "114", "64"}) {
    const ProgramResult r = RunCli({"--simulate", "--log", "-", "tamlo", b1, "96", "10"});
    EXPECT_EQ(r.Status, 2) << b1 << ": bad usage, as any other argument out of range";
    EXPECT_NE(r.Err.find("must be below 64"), std::string::npos) << r.Err;
    EXPECT_TRUE(SentPayloads(r.Err).empty()) << r.Err;
  }
  EXPECT_EQ(RunCli({"--simulate", "tamlo", "63", "96", "10"}).Status, 0);
}

TEST(CliSimulatedTest, LogLinesAreTheMonitorsLines) {
  ScratchFolder folder;
  const std::string log = folder / "comm.log";
  WriteText(log, "earlier\n");
  ASSERT_EQ(RunCli({"--simulate", "--module", "2", "--log", log, "version"}).Status, 0);
  ASSERT_EQ(RunCli({"--simulate", "--log", log, "version"}).Status, 0);
  EXPECT_EQ(Lines(ReadText(log)),
            (std::vector<std::string>{"earlier", ">  [47] [62] [70] [00]", "<  [47] [66] [70] [00] [03] [02] [01] [00]",
                                      ">  [43] [62] [70] [00]", "<  [43] [66] [70] [00] [03] [02] [01] [00]"}));
}

TEST(CliSimulatedTest, GeneralCommandsPrintWhatTheyRead) {
  EXPECT_EQ(RunCli({"--simulate", "version"}).Out, "3.2.1.0\n");
  EXPECT_EQ(RunCli({"--simulate", "read-id"}).Out, "\n");
  const ProgramResult written = RunCli({"--simulate", "--log", "-", "write-id", "A Layout Name Too Long"});
  EXPECT_EQ(written.Status, 0) << written.Err;
  // Only the first twelve characters travel: 96, 10 and "A Layout Nam", and that is said
  // before anything is sent.
  EXPECT_EQ(SentPayloads(written.Err).back(), "[60] [0A] [41] [20] [4C] [61] [79] [6F] [75] [74] [20] [4E] [61] [6D]");
  const size_t said = written.Err.find("The ID string \"A Layout Name Too Long\" is longer than the 12 characters a "
                                       "controller holds: \"A Layout Nam\" is written\n");
  ASSERT_NE(said, std::string::npos) << written.Err;
  EXPECT_LT(said, written.Err.find(">  ["));

  // Likewise for a file's identification string in Write All.
  ScratchFolder folder;
  std::string file = ReadText(DataFile("demo.dat"));
  const size_t id = file.find("ID$,\"Demo Layout\"");
  ASSERT_NE(id, std::string::npos);
  WriteText(folder / "long.dat", file.replace(id, 17, "ID$,\"Demo Layout North\""));
  const ProgramResult all = RunCli({"--simulate", "write-all", folder / "long.dat"});
  EXPECT_EQ(all.Status, 0) << all.Err;
  EXPECT_NE(all.Err.find("\"Demo Layout North\" is longer than the 12 characters a controller holds: \"Demo Layout "
                         "\" is written"),
            std::string::npos)
      << all.Err;
}

TEST(CliSimulatedTest, MonitorPrintsItsLinesAndStops) {
  const ProgramResult counted = RunCli({"--simulate", "monitor", "--count", "3"});
  EXPECT_EQ(counted.Status, 0) << counted.Err;
  EXPECT_EQ(counted.Out, "Start Monitoring\n<0> <0> <0> <0> \n<0> <0> <0> <0> \n<0> <0> <0> <0> \nMonitoring Stopped\n");
  // A poll every 100 ms from the start: at most four more in 0.35 s, never crowded in
  // after a stall; how many a busy machine lets through is its own affair.
  const ProgramResult timed = RunCli({"--simulate", "monitor", "--seconds", "0.35"});
  EXPECT_EQ(timed.Status, 0);
  const size_t lines = Lines(timed.Out).size() - 2;
  EXPECT_GE(lines, 1u);
  EXPECT_LE(lines, 5u);
}

TEST(CliSimulatedTest, EraseGoesAheadOnlyWithYes) {
  const ProgramResult refused = RunCli({"--simulate", "--log", "-", "erase"});
  EXPECT_EQ(refused.Status, 2);
  EXPECT_NE(refused.Err.find("Continue?"), std::string::npos);
  EXPECT_NE(refused.Err.find("No terminal to answer on"), std::string::npos);
  EXPECT_TRUE(SentPayloads(refused.Err).empty());

  const ProgramResult erased = RunCli({"--simulate", "--yes", "--log", "-", "erase"});
  EXPECT_EQ(erased.Status, 0) << erased.Err;
  EXPECT_NE(erased.Err.find("Do you want to cancel this operation?\n[OK/Cancel] Cancel (--yes)"), std::string::npos);
  EXPECT_EQ(SentPayloads(erased.Err), std::vector<std::string>{"[60] [00] [53] [3D] [0B] [1D] [42] [09] [23] [0E]"});
}

TEST(CliSimulatedTest, PortsListTheSimulatedController) {
  const ProgramResult r = RunCli({"--simulate", "ports"});
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Out.find(" Simulated Brixo\n"), std::string::npos) << r.Out;
  EXPECT_EQ(RunCli({"ports"}).Out.find("Simulated Brixo"), std::string::npos);
}

TEST(CliSimulatedTest, ExtendedAddressTravelsWithEveryFrame) {
  const ProgramResult r = RunCli({"--simulate", "--xaddr", "1", "--log", "-", "version"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Err.find(">  [43] [72] [00] [70] [00]"), std::string::npos) << r.Err;
}

}  // namespace
}  // namespace brixo::testing

namespace brixo::testing {
namespace {

// The built-in simulator takes the identity the link options give, so each reaches it.
TEST(CliSimulatedTest, SimulatorAnswersTheAddressTheOptionsChoose) {
  const struct {
    std::vector<std::string> options;
    std::string firstSent;
  } cases[] = {
      {{"--module", "5"}, ">  [53] [62] [70] [00]"},
      {{"--zero-based", "--module", "3"}, ">  [4F] [62] [70] [00]"},
      {{"--xaddr", "7"}, ">  [43] [72] [06] [70] [00]"},
      {{"--tunnel"}, ">>  [2D] [00] [60] [60] [70] [00]"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"--simulate", "--log", "-"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back("version");
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << c.firstSent << "\n" << r.Err;
    EXPECT_EQ(r.Out, "3.2.1.0\n") << c.firstSent;
    EXPECT_NE(r.Err.find(c.firstSent), std::string::npos) << r.Err;
  }
}

}  // namespace
}  // namespace brixo::testing
