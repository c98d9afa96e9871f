// The command line itself: what is read from it, and how bad usage is refused.
#include "app/program_version.h"
#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli_test_support.h"

namespace brixo::testing {
namespace {

TEST(CliOptionsTest, ReadsOptionsOnEitherSideOfTheCommand) {
  CliOptions o;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--port", "/dev/ttyUSB1", "servo", "3", "-20", "--dynamic", "--baud", "38400",
                                "--module", "4", "--zero-based", "--", "--yes"},
                               o, error))
      << error;
  EXPECT_EQ(o.Port, "/dev/ttyUSB1");
  EXPECT_EQ(o.Command, "servo");
  // A negative number is an argument, and "--" ends the options.
  EXPECT_EQ(o.Arguments, (std::vector<std::string>{"3", "-20", "--yes"}));
  EXPECT_TRUE(o.Dynamic);
  EXPECT_EQ(o.FlagsGiven, unsigned(kFlagDynamic));
  EXPECT_EQ(o.Baud, 38400);
  EXPECT_EQ(o.Module, 4);
  EXPECT_TRUE(o.ZeroBased);
  EXPECT_FALSE(o.Yes);
}

TEST(CliOptionsTest, RefusesBadValues) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{"--baud", "4800", "version"}, "bad value for --baud: 4800 (9600, 19200 or 38400)"},
      {{"--module", "x", "version"}, "bad value for --module: x"},
      {{"--module", "-1", "version"}, "bad value for --module: -1"},
      {{"monitor", "--count", "0"}, "bad value for --count: 0"},
      {{"monitor", "--seconds", "soon"}, "bad value for --seconds: soon"},
      {{"version", "--port"}, "option --port needs a value"},
      {{"sheet", "demo.dat", "-o", "demo.pdf", "--page", "a3"}, "bad value for --page: a3 (a4 or letter)"},
      {{"sheet", "demo.dat", "-o"}, "option -o needs a value"},
      {{"--verbose", "version"}, "unknown option --verbose"},
  };
  for (const auto& c : cases) {
    CliOptions o;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(c.args, o, error)) << c.args[0];
    EXPECT_EQ(error, c.error);
  }
}

TEST(CliOptionsTest, PortNumbersAndBitRates) {
  EXPECT_TRUE(IsPortNumber("3"));
  for (const char* device : {"/dev/ttyS3", "0", "-2", "+3", "ttyUSB0"}) EXPECT_FALSE(IsPortNumber(device)) << device;
  EXPECT_EQ(BitRateOption(9600), 0);
  EXPECT_EQ(BitRateOption(19200), 1);
  EXPECT_EQ(BitRateOption(38400), 2);
  EXPECT_EQ(BitRateOption(57600), -1);
}

TEST(CliTextTest, TypedTextsBecomeOneBytePerCharacter) {
  const struct {
    std::string typed;
    std::string kept;
  } cases[] = {
      {"Plain", "Plain"},
      {"Gare \xC3\xA9t\xC3\xA9", "Gare \xE9t\xE9"},  // é in Latin-1
      {"\xE2\x82\xAC 5", "? 5"},                     // the euro sign has no Latin-1 form
      {"\xF0\x9F\x9A\x82", "?"},
      {"raw \xE9", "raw \xE9"},  // already Latin-1: not UTF-8, kept as it is
      {"cut \xC3", "cut \xC3"},
  };
  for (const auto& c : cases) EXPECT_EQ(Latin1FromUtf8(c.typed), c.kept) << c.typed;
}

TEST(CliUsageTest, VersionOptionNamesTheProgramAndTheCommandStillAsksTheController) {
  const std::string expected = std::string("brixo-cli ") + kProgramVersion + "\n";
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"},
                                               std::vector<std::string>{"--port", "/nowhere", "--version"}}) {
    const ProgramResult result = RunCli(args);
    EXPECT_EQ(result.Status, 0);
    EXPECT_EQ(result.Out, expected);
  }
  // The command of the same name reads the controller's firmware, so it needs a port.
  const ProgramResult command = RunCli({"version"});
  EXPECT_EQ(command.Status, 2);
  EXPECT_EQ(command.Out.find("brixo-cli"), std::string::npos);
}

TEST(CliUsageTest, HelpListsEveryCommandAndEachHasItsOwn) {
  const ProgramResult all = RunCli({"--help"});
  EXPECT_EQ(all.Status, 0);
  for (const CliCommand& command : CliCommands()) {
    EXPECT_NE(all.Out.find(std::string("  ") + command.Name + " "), std::string::npos) << command.Name;
    const ProgramResult one = RunCli({command.Name, "--help"});
    EXPECT_EQ(one.Status, 0);
    EXPECT_EQ(one.Out.rfind(std::string("usage: brixo-cli [options] ") + command.Name, 0), 0u) << one.Out;
  }
}

TEST(CliUsageTest, BadUsageExitsWithTwoAndSaysWhy) {
  ScratchFolder folder;
  const std::string notData = folder / "not.dat";
  WriteText(notData, "\"SomethingElse 3100\"\r\nEnd\r\n");
  const struct {
    std::vector<std::string> args;
    const char* stderrText;
  } cases[] = {
      {{}, "brixo-cli: no command given"},
      {{"frobnicate"}, "brixo-cli: unknown command frobnicate"},
      {{"read-all"}, "brixo-cli: usage: brixo-cli [options] read-all FILE [--compact]"},
      {{"write-all", "a.dat", "--compact"}, "brixo-cli: --compact does not apply to write-all"},
      {{"version"}, "brixo-cli: no port given: use --port DEVICE or --simulate"},
      {{"--simulate", "--port", "/dev/ttyS0", "version"}, "--port and --simulate exclude each other"},
      {{"--sim-load", "x.dat", "--port", "/dev/ttyS0", "version"}, "--sim-load needs --simulate"},
      {{"--simulate", "--tunnel", "--transparent", "version"}, "--tunnel and --transparent exclude each other"},
      {{"--simulate", "--module", "17", "version"}, "--module must lie from 1 to 16"},
      {{"--simulate", "--zero-based", "--module", "16", "version"}, "--module must lie from 0 to 15"},
      {{"--simulate", "--xaddr", "97", "version"}, "--xaddr must lie from 1 to 96"},
      {{"--simulate", "aspect", "33", "0"}, "pin must be a number from 1 to 32: 33"},
      {{"--simulate", "--zero-based", "aspect", "32", "0"}, "pin must be a number from 0 to 31: 32"},
      {{"--simulate", "aspect", "1", "12"}, "aspect must be a number from 0 to 11: 12"},
      {{"--simulate", "tamlo", "1", "128", "0"}, "B2 must be a number from 0 to 127: 128"},
      {{"--simulate", "pwm", "1", "high"}, "level must be a whole number: high"},
      {{"--simulate", "lamp-test", "33"}, "module must be a number from 1 to 32: 33"},
      {{"--simulate", "write-all", folder / "missing.dat"}, "Could not open"},
      {{"--simulate", "verify-all", notData}, "Invalid configuration file"},
      {{"--simulate", "--sim-load", notData, "version"}, "Invalid configuration file"},
      {{"--port", "/dev/brixo-none", "version"}, "Cannot open communications port /dev/brixo-none"},
      {{"--port", "99", "version"}, "Cannot open communications port 99"},
      {{"convert", notData, folder / "out.dat"}, "Invalid configuration file"},
      {{"--simulate", "--log", folder / "no/such/folder.log", "version"}, "cannot open log file"},
  };
  for (const auto& c : cases) {
    const ProgramResult r = RunCli(c.args);
    const std::string what = c.args.empty() ? "(none)" : c.args.back();
    EXPECT_EQ(r.Status, 2) << what << "\n" << r.Err;
    EXPECT_NE(r.Err.find(c.stderrText), std::string::npos) << what << "\n" << r.Err;
    EXPECT_TRUE(r.Out.empty()) << what;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "out.dat"));
}

}  // namespace
}  // namespace brixo::testing
