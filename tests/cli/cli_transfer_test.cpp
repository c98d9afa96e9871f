// Whole-controller and per-pin transfers through brixo-cli, against the built-in simulated
// controller and against brixo-sim on a pseudo-terminal.
#include <regex>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "cli_test_support.h"
#include "support/recording_prompt.h"

namespace brixo::testing {
namespace {

// A configuration loaded with the core's own loader, to look into files the CLI wrote.
class Config {
 public:
  explicit Config(const std::string& path = {}) {
    AppStateOptions options;
    options.LoadDeviceDefinitions = false;
    app_ = std::make_unique<AppState>(prompt_, chooser_, options);
    if (!path.empty()) {
      EXPECT_TRUE(LoadDataFileFrom(app_->DataFiles(), path)) << path;
    }
  }
  PinRecord& Pin(int p) { return app_->Model().PinTable[p]; }
  AppState& App() { return *app_; }
  void Save(const std::string& path) { ASSERT_TRUE(SaveDataFileTo(app_->DataFiles(), path, false)); }
  // The first pin that has aspects.
  int PinWithAspects() {
    for (int p = 0; p < kPinCount; ++p) {
      if (Pin(p).AspectConfig == 2 || Pin(p).AspectConfig == 3) return p;
    }
    return -1;
  }

 private:
  RecordingPrompt prompt_;
  NoFileChooser chooser_;
  std::unique_ptr<AppState> app_;
};

class CliTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "no " << demo;
    // What the simulated controller holds after the demo configuration was written to it.
    const ProgramResult r = RunCli({"--simulate", "--sim-load", demo, "read-all", held});
    ASSERT_EQ(r.Status, 0) << r.Err;
  }

  const std::string demo = DataFile("demo.dat");
  ScratchFolder folder;
  const std::string held = folder / "held.dat";
};

TEST_F(CliTransferTest, WriteAllThenReadAllReproducesTheFile) {
  // A file read from a controller holds nothing the controller lacks: it comes back whole.
  const std::string again = folder / "again.dat";
  ASSERT_EQ(RunCli({"--simulate", "--sim-load", held, "read-all", again}).Status, 0);
  EXPECT_EQ(ReadText(again), ReadText(held));

  // The same over a pseudo-terminal, with the write and the read as separate runs.
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim));
  const std::string pty = folder / "pty.dat";
  ASSERT_EQ(RunCli({"--port", sim.Path(), "write-all", demo}).Status, 0);
  const ProgramResult read = RunCli({"--port", sim.Path(), "read-all", pty});
  ASSERT_EQ(read.Status, 0) << read.Err;
  EXPECT_EQ(ReadText(pty), ReadText(held));

  // Everything the controller keeps of the demo configuration is in the file.
  Config original(demo);
  Config copy(held);
  EXPECT_EQ(copy.App().General().TextGenIDString, original.App().General().TextGenIDString);
  EXPECT_EQ(copy.App().Events().OnAction, original.App().Events().OnAction);
  for (int p = 0; p < kPinCount; ++p) {
    EXPECT_EQ(copy.Pin(p).AspectConfig, original.Pin(p).AspectConfig) << p;
    EXPECT_EQ(copy.Pin(p).DevicePointer, original.Pin(p).DevicePointer) << p;
    for (int a = 0; a < kAspectCount; ++a)
      EXPECT_EQ(copy.Pin(p).Aspects[a].Steps, original.Pin(p).Aspects[a].Steps) << p << "/" << a;
  }
}

TEST_F(CliTransferTest, VerifyAllPrintsTheReportAndFailsOnADifference) {
  const ProgramResult same = RunCli({"--simulate", "--sim-load", held, "verify-all", held});
  EXPECT_EQ(same.Status, 0) << same.Out;
  const std::vector<std::string> sameLines = Lines(same.Out);
  ASSERT_GE(sameLines.size(), 2u);
  EXPECT_EQ(sameLines[sameLines.size() - 2], "Verify OK");
  EXPECT_EQ(sameLines.back(), "Compared general settings, event control and 32 pins: no differences.");

  Config changed(held);
  changed.App().General().TextGenDCCAddress = "321";
  const std::string differs = folder / "differs.dat";
  changed.Save(differs);
  const ProgramResult r = RunCli({"--simulate", "--sim-load", held, "verify-all", differs});
  EXPECT_EQ(r.Status, 1);
  const std::vector<std::string> lines = Lines(r.Out);
  EXPECT_EQ(lines.front(), "Start General Settings Verification");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "DCC address does not compare"), lines.end()) << r.Out;
  // The difference itself, named as the user reads it, once and just before the verdict and
  // the summary that counts it.
  const std::string difference =
      "DCC Settings Basic Decoder Addr: file 321, controller " + Config(held).App().General().TextGenDCCAddress;
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], difference) << r.Out;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), difference), 1) << r.Out;
  EXPECT_EQ(r.Err.find(difference), std::string::npos) << r.Err;
  EXPECT_EQ(lines[lines.size() - 2], "Verification Stopped");
  EXPECT_EQ(lines.back(), "Compared general settings: 1 difference.");
}

TEST_F(CliTransferTest, VerifyPinsShowsPinNumbersInTheNumberingChosen) {
  Config changed(held);
  const int p = changed.PinWithAspects();
  ASSERT_GE(p, 0);
  StepRecord& step = changed.Pin(p).Aspects[0].Steps[0];
  step.Instruction = step.Instruction == 1 ? 2 : 1;
  const std::string differs = folder / "differs.dat";
  changed.Save(differs);
  const struct {
    bool zeroBased;
    int shown;
    bool note;
  } cases[] = {{false, p + 1, true}, {true, p, false}};
  for (const auto& c : cases) {
    std::vector<std::string> args{"--simulate", "--sim-load", held, "verify-pins", differs};
    if (c.zeroBased) args.insert(args.begin(), "--zero-based");
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, 1);
    const std::vector<std::string> lines = Lines(r.Out);
    const std::string expected = "Pin " + std::to_string(c.shown) + ": Aspect 0 does not compare";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << r.Out;
    // The difference names the step and both values.
    const std::string named = "pin " + std::to_string(c.shown) + " aspect 0 step 0 Instruction: file ";
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.rfind(named, 0) == 0; }),
              lines.end())
        << r.Out;
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "Note: Numbering starts at 1") != lines.end(), c.note);
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "Verify OK"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Differences Found"), lines.end());
  }
}

TEST_F(CliTransferTest, AFailedReadLeavesNoFile) {
  const std::string kept = folder / "kept.dat";
  WriteText(kept, "earlier contents");
  const std::string fresh = folder / "fresh.dat";
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--module", "3"}));  // nobody answers module 1
  const ProgramResult r = RunCli({"--port", sim.Path(), "read-all", kept});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("No response received, resetting bidirectional communication"), std::string::npos);
  EXPECT_EQ(RunCli({"--port", sim.Path(), "read-pin", "2", fresh}).Status, 1);
  EXPECT_EQ(ReadText(kept), "earlier contents");
  EXPECT_FALSE(std::filesystem::exists(fresh));
}

// What a user reads when nobody answers, a file is damaged or a port number is beyond the
// list: the program's own line, then where and what to try, in brixo-cli's words. A line
// starting with "~" is a pattern, for what depends on the machine's ports.
TEST_F(CliTransferTest, MessagesSayWhereAndWhatToTry) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--module", "3"}));  // nobody answers module 1 or 2
  WriteText(folder / "count.dat", "\"BrixoConfiguration 3100\"\r\nPin,0,0,0,\"\"\r\n  PAM,0,1,9\r\nEnd\r\n");
  WriteText(folder / "cut.dat", "\"BrixoConfiguration 3100\"\r\nPin,0,0,0,\"\"\r\n");
  WriteText(folder / "noise.dat", std::string("\x00\xff\x22\x01\x80,\r\n\x7f", 9));
  const std::string invalid = "Invalid configuration file";
  const std::string noPort = " \\(brixo-cli ports lists them\\)";
  const std::string ports = "(no port was found|there is only port 1|there are ports 1 to [0-9]+)" + noPort;
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> said;
  } cases[] = {
      {"no answer", {"--port", sim.Path(), "read-all", folder / "a.dat"}, 1,
       {"No response received, resetting bidirectional communication",
        "No answer from module 1 at 19200 bit/s \u2014 check --module, the bit rate (--baud) and the cable, or use "
        "brixo-cli scan",
        "Read All stopped at its first step: nothing was saved"}},
      {"no answer at another module and bit rate", {"--port", sim.Path(), "--baud", "38400", "--module", "2", "verify-all", demo}, 1,
       {"No response received, resetting bidirectional communication",
        "No answer from module 2 at 38400 bit/s \u2014 check --module, the bit rate (--baud) and the cable, or use "
        "brixo-cli scan",
        "Verify All stopped at its first step: the comparison is incomplete"}},
      {"a count beyond its bits", {"--simulate", "write-all", folder / "count.dat"}, 2,
       {invalid, "count.dat, line 3: PAM: serial address count 9 is above 7"}},
      {"a file cut short", {"--simulate", "verify-all", folder / "cut.dat"}, 2,
       {invalid, "cut.dat: the file ends before \"End\""}},
      {"random bytes", {"convert", folder / "noise.dat", folder / "out.dat"}, 2,
       {invalid, "noise.dat, line 1: control character 0x00 outside quotes"}},
      {"a port number beyond the list", {"--port", "99", "version"}, 2,
       {"Cannot open communications port 99", "~There is no port 99: " + ports}},
      {"a port number beyond the list, several lines", {"--port", "98", "--port", "99", "scan"}, 2,
       {"Cannot open communications port 98", "~There is no port 98: " + ports}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramResult r = RunCli(c.args);
    EXPECT_EQ(r.Status, c.status);
    const std::vector<std::string> lines = Lines(r.Err);
    ASSERT_EQ(lines.size(), c.said.size()) << r.Err;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (c.said[i].front() == '~') EXPECT_TRUE(std::regex_match(lines[i], std::regex(c.said[i].substr(1)))) << lines[i];
      else EXPECT_EQ(lines[i], c.said[i]);
    }
  }
}

// A read that got through but met refused replies still saves what it read, and says so.
TEST_F(CliTransferTest, AReadWithRefusedRepliesSavesAndFails) {
  const std::string fresh = folder / "fresh.dat";
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--no-events"}));
  const ProgramResult r = RunCli({"--port", sim.Path(), "read-events", fresh});
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("Read Event-On: Function not supported by Device"), std::string::npos) << r.Err;
  EXPECT_TRUE(std::filesystem::exists(fresh));
}

TEST_F(CliTransferTest, ReadPinMergesIntoTheFile) {
  Config mine(held);
  const int p = mine.PinWithAspects();
  ASSERT_GE(p, 0);
  const PinRecord controller = mine.Pin(p);
  mine.Pin(p).AspectConfig = 0;
  mine.Pin(p).Description = "mine";
  const int other = (p + 5) % kPinCount;
  mine.Pin(other).Description = "kept";
  const std::string file = folder / "mine.dat";
  mine.Save(file);

  const ProgramResult r = RunCli({"--simulate", "--sim-load", held, "read-pin", std::to_string(p + 1), file});
  ASSERT_EQ(r.Status, 0) << r.Err;
  Config merged(file);
  EXPECT_EQ(merged.Pin(p).AspectConfig, controller.AspectConfig);
  EXPECT_EQ(merged.Pin(p).Aspects[0].Steps, controller.Aspects[0].Steps);
  EXPECT_EQ(merged.Pin(p).Description, "mine");  // the controller holds no texts
  EXPECT_EQ(merged.Pin(other).Description, "kept");
}

TEST_F(CliTransferTest, SinglePinAndEventTransfersOnAPseudoTerminal) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim));
  Config source(held);
  const int p = source.PinWithAspects();
  ASSERT_GE(p, 0);
  const std::string pin = std::to_string(p + 1);
  ASSERT_EQ(RunCli({"--port", sim.Path(), "write-pin", pin, held}).Status, 0);
  ASSERT_EQ(RunCli({"--port", sim.Path(), "write-events", held}).Status, 0);

  const std::string back = folder / "back.dat";
  ASSERT_EQ(RunCli({"--port", sim.Path(), "read-pin", pin, back}).Status, 0);
  ASSERT_EQ(RunCli({"--port", sim.Path(), "read-events", back}).Status, 0);
  Config read(back);
  EXPECT_EQ(read.Pin(p).Aspects, source.Pin(p).Aspects);
  EXPECT_EQ(read.App().Events().OnAction, source.App().Events().OnAction);
  EXPECT_EQ(read.App().Events().OffAction, source.App().Events().OffAction);

  // The backup holds the controller's enable map, so it compares; a file without one leaves
  // the map uncompared and does not fail on it.
  const ProgramResult events = RunCli({"--port", sim.Path(), "verify-events", held});
  EXPECT_EQ(events.Out.find("ECInit"), std::string::npos) << events.Out;
  EXPECT_EQ(events.Status, 0) << events.Out;
  std::string withoutMap = ReadText(held);
  withoutMap.erase(withoutMap.find("Ena,"), withoutMap.find("Pin,") - withoutMap.find("Ena,"));
  const std::string old = folder / "old.dat";
  WriteText(old, withoutMap);
  const ProgramResult unknown = RunCli({"--port", sim.Path(), "verify-events", old});
  EXPECT_NE(unknown.Out.find("ECInit: not compared, the configuration holds no enable map"), std::string::npos)
      << unknown.Out;
  EXPECT_EQ(unknown.Status, 0) << unknown.Out;
}

TEST(CliLinkModesTest, TunnelledFramesAreLoggedAsHostFrames) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--host"}));
  const ProgramResult r = RunCli({"--port", sim.Path(), "--tunnel", "--log", "-", "version"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "3.2.1.0\n");
  const std::vector<std::string> lines = Lines(r.Err);
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">>  [2A] [01] [02]"), lines.end()) << r.Err;
  EXPECT_NE(std::find(lines.begin(), lines.end(), ">>  [2D] [00] [60] [60] [70] [00]"), lines.end()) << r.Err;
  EXPECT_NE(std::find(lines.begin(), lines.end(), "<<  [01] [00] [60] [66] [70] [00] [03] [02] [01] [00]"), lines.end())
      << r.Err;
}

TEST(CliLinkModesTest, TransparentModeAsksUnlessTheHostIsOld) {
  const struct {
    const char* protocol;
    bool yes;
    int status;
  } cases[] = {{"3200", false, 2}, {"3200", true, 0}, {"3100", false, 0}};
  for (const auto& c : cases) {
    SimProcess sim;
    ASSERT_TRUE(StartSim(sim, {"--host", "--protocol", c.protocol}));
    std::vector<std::string> args{"--port", sim.Path(), "--transparent", "version"};
    if (c.yes) args.insert(args.begin(), "--yes");
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, c.status) << c.protocol << c.yes << "\n" << r.Err;
    EXPECT_EQ(r.Err.find("Your Kesta has been put in Transparent Mode") != std::string::npos, c.status == 0) << r.Err;
    EXPECT_EQ(r.Out, c.status == 0 ? "3.2.1.0\n" : "");
  }
}

TEST(CliConvertTest, NormalAndCompactSavesAgree) {
  const std::string demo = DataFile("demo.dat");
  if (!std::filesystem::exists(demo)) GTEST_SKIP() << "no " << demo;
  ScratchFolder folder;
  const std::string normal = folder / "normal.dat";
  const std::string compact = folder / "compact.dat";
  const std::string again = folder / "again.dat";
  ASSERT_EQ(RunCli({"convert", demo, normal}).Status, 0);
  ASSERT_EQ(RunCli({"convert", normal, compact, "--compact"}).Status, 0);
  ASSERT_EQ(RunCli({"convert", compact, again}).Status, 0);
  EXPECT_EQ(ReadText(again), ReadText(normal));
  EXPECT_LT(ReadText(compact).size(), ReadText(normal).size());
}

}  // namespace
}  // namespace brixo::testing
