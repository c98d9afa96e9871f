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
      // Every character a controller cannot hold alike, Latin-1 or not; nothing is sent.
      {{"--simulate", "write-id", "S\xC3\xBC" "d"}, "a controller cannot hold \"\xC3\xBC\" (U+00FC)"},
      {{"--simulate", "write-id", "\xE2\x82\xAC" "uro"}, "a controller cannot hold \"\xE2\x82\xAC\" (U+20AC)"},
      {{"--simulate", "write-id", "\xF0\x9F\x9A\x82 Yard"}, "a controller cannot hold \"\xF0\x9F\x9A\x82\" (U+1F682)"},
      {{"--simulate", "write-id", "raw \xE9"}, "a controller cannot hold byte 0xE9"},
      {{"--simulate", "pwm", "1", "high"}, "level must be a whole number: high"},
      {{"--simulate", "lamp-test", "33"}, "module must be a number from 1 to 32: 33"},
      {{"--simulate", "write-all", folder / "missing.dat"}, "Could not open"},
      {{"--simulate", "verify-all", notData}, "Invalid configuration file"},
      {{"--simulate", "--sim-load", notData, "version"}, "Invalid configuration file"},
      {{"--port", "/dev/brixo-none", "version"}, "Cannot open communications port /dev/brixo-none"},
      {{"--port", "99", "version"}, "Cannot open communications port 99"},
      {{"--port", "rfc2217://layout-pi", "version"},
       "Cannot open communications port rfc2217://layout-pi\nrfc2217://layout-pi: the port number is missing"},
      {{"--port", "socket://no-such-host.invalid:3333", "version"},
       "Cannot open communications port no-such-host.invalid:3333 (raw TCP)\nThe host no-such-host.invalid is unknown"},
      {{"--port", "/dev/ttyS0", "--port", "/dev/ttyS1", "read-all", "x.dat"},
       "brixo-cli: --port is given once for read-all (several lines only for scan, backup and verify-dir)"},
      {{"--port", "/dev/ttyS0", "--port", "/dev/ttyS0", "scan"},
       "brixo-cli: --port /dev/ttyS0 and --port /dev/ttyS0 name the same line"},
      {{"--port", "rfc2217://pi:3333", "--port", "socket://pi:3333", "scan"},
       "brixo-cli: --port rfc2217://pi:3333 and --port socket://pi:3333 name the same line"},
      {{"--simulate", "--port", "/dev/ttyS0", "--port", "/dev/ttyS1", "scan"},
       "--port and --simulate exclude each other"},
      {{"convert", notData, folder / "out.dat"}, "Invalid configuration file\nnot.dat, line 1: not a configuration file"},
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
