// brixo-cli scan, backup and verify-dir against brixo-sim with several controllers on its
// pseudo-terminal.
#include "cli_test_support.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

// The demo configuration under another identification string.
std::string ConfigurationNamed(const std::string& text, const std::string& id) {
  const std::string from = "ID$,\"Demo Layout\"";
  std::string out = text;
  const size_t at = out.find(from);
  if (at != std::string::npos) out.replace(at, from.size(), "ID$,\"" + id + "\"");
  return out;
}

// What a scan found, line by line. Whether an answer came inside its probe's window is
// measured here on a real pseudo-terminal by the wall clock, which a busy machine stretches:
// the scan's own tests decide lateness on a simulated line, and here it is left out.
std::vector<std::string> FoundLines(const std::string& out) {
  const std::string late = "answered late, ";
  std::vector<std::string> lines = Lines(out);
  for (std::string& line : lines) {
    const size_t at = line.find(late);
    if (at != std::string::npos) line.erase(at, late.size());
  }
  return lines;
}

class CliFleetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(demo)) GTEST_SKIP() << "no " << demo;
    const std::string text = ReadText(demo);
    ASSERT_NE(ConfigurationNamed(text, "x"), text) << "the demo configuration has its string";
    WriteText(west, ConfigurationNamed(text, "Yard West"));
    WriteText(east, ConfigurationNamed(text, "Yard East"));
    WriteText(depot, ConfigurationNamed(text, "Depot"));
  }

  // Internal modules 1 and 5, and 9 behind extended address 4: shown as 2, 6 and 10 (and 5).
  bool StartLine(SimProcess& sim, std::vector<std::string> more = {}) {
    std::vector<std::string> options{"--modules", "1,5,9:4", "--load", "1=" + west, "--load", "5=" + east,
                                     "--load", "9:4=" + depot};
    options.insert(options.end(), more.begin(), more.end());
    return StartSim(sim, options);
  }

  const std::string demo = DataFile("demo.dat");
  ScratchFolder folder;
  const std::string west = folder / "west.dat";
  const std::string east = folder / "east.dat";
  const std::string depot = folder / "depot.dat";
};

TEST_F(CliFleetTest, ScanPrintsOneLinePerControllerFound) {
  SimProcess sim;
  ASSERT_TRUE(StartLine(sim));
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"scan"},
       {"module 2: firmware 3.2.1.0, ID \"Yard West\"", "module 6: firmware 3.2.1.0, ID \"Yard East\"",
        "module 10: firmware 3.2.1.0, ID \"Depot\""}},
      {{"--zero-based", "scan"},
       {"module 1: firmware 3.2.1.0, ID \"Yard West\"", "module 5: firmware 3.2.1.0, ID \"Yard East\"",
        "module 9: firmware 3.2.1.0, ID \"Depot\""}},
      {{"scan", "--xaddr-range", "5-6"}, {"module 10, extended address 5: firmware 3.2.1.0, ID \"Depot\""}},
      {{"scan", "--probe-ms", "0"},
       {"module 2: firmware 3.2.1.0, ID \"Yard West\"", "module 6: firmware 3.2.1.0, ID \"Yard East\"",
        "module 10: firmware 3.2.1.0, ID \"Depot\""}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"--port", sim.Path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, 0) << c.args[0] << ": " << r.Err;
    EXPECT_EQ(FoundLines(r.Out), c.lines) << c.args[0];
  }
}

TEST_F(CliFleetTest, TunnelledScanReachesModulesAboveSixteen) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--host", "--modules", "3,20", "--load", "20=" + depot}));
  const ProgramResult r = RunCli({"--port", sim.Path(), "--tunnel", "scan"});
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(FoundLines(r.Out), (std::vector<std::string>{"module 4: firmware 3.2.1.0, ID \"\"",
                                                    "module 21: firmware 3.2.1.0, ID \"Depot\""}));
}

TEST_F(CliFleetTest, NobodyAnsweringIsAFailureAndLeavesNoFiles) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--modules", "20"}));  // beyond what direct frames reach
  const ProgramResult scan = RunCli({"--port", sim.Path(), "scan"});
  EXPECT_EQ(scan.Status, 1);
  EXPECT_TRUE(scan.Out.empty());
  EXPECT_NE(scan.Err.find("No controller answered."), std::string::npos) << scan.Err;
  // The folders the backup made for its files go again; one that was there stays.
  const std::string fleet = folder / "fleet";
  EXPECT_EQ(RunCli({"--port", sim.Path(), "backup", fleet + "/2024/june"}).Status, 1);
  EXPECT_FALSE(std::filesystem::exists(fleet));
  std::filesystem::create_directory(fleet);
  EXPECT_EQ(RunCli({"--port", sim.Path(), "backup", fleet + "/june"}).Status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(fleet));
  // So do they when the line cannot be opened at all, on one line or on several.
  EXPECT_EQ(RunCli({"--port", "/dev/brixo-none", "backup", fleet + "/july"}).Status, 2);
  EXPECT_EQ(RunCli({"--port", "/dev/brixo-none", "--port", sim.Path(), "backup", fleet + "/july"}).Status, 2);
  EXPECT_TRUE(std::filesystem::is_empty(fleet));
}

// Two controllers answering one address are reported, and the status says the line needs
// a look; the controller that answered alone is still listed and saved.
TEST_F(CliFleetTest, TwoControllersOnOneAddressMakeTheLineNeedALook) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--modules", "1,1:12,5"}));
  const std::string garbled =
      "something answered at module 2, but the reply was garbled \u2014 two controllers on one address?";
  const ProgramResult scan = RunCli({"--port", sim.Path(), "scan"});
  EXPECT_EQ(scan.Status, 1);
  EXPECT_EQ(Lines(scan.Out), std::vector<std::string>{"module 6: firmware 3.2.1.0, ID \"\""});
  EXPECT_EQ(Lines(scan.Err), std::vector<std::string>{garbled});
  const std::string fleet = folder / "fleet";
  const ProgramResult backup = RunCli({"--port", sim.Path(), "backup", fleet});
  EXPECT_EQ(backup.Status, 1);
  EXPECT_EQ(Lines(backup.Out), std::vector<std::string>{"module 6: saved " + fleet + "/module-06-unnamed.dat"});
  EXPECT_EQ(Lines(backup.Err), std::vector<std::string>{garbled});
}

TEST_F(CliFleetTest, BackupSavesEveryControllerAndVerifyDirChecksThemAll) {
  SimProcess sim;
  ASSERT_TRUE(StartLine(sim));
  const std::string fleet = folder / "fleet";
  const ProgramResult backup = RunCli({"--port", sim.Path(), "backup", fleet});
  ASSERT_EQ(backup.Status, 0) << backup.Err;
  const std::vector<std::string> names{"module-02-Yard_West.dat", "module-06-Yard_East.dat", "module-10-Depot.dat"};
  std::vector<std::string> expected;
  for (size_t i = 0; i < names.size(); ++i) {
    const char* shown[] = {"module 2", "module 6", "module 10"};
    expected.push_back(std::string(shown[i]) + ": saved " + fleet + "/" + names[i]);
  }
  EXPECT_EQ(Lines(backup.Out), expected);

  // Each file is what "read-all" of that controller alone gives.
  const char* modules[] = {"2", "6", "10"};
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string single = folder / ("single-" + std::string(modules[i]) + ".dat");
    ASSERT_EQ(RunCli({"--port", sim.Path(), "--module", modules[i], "read-all", single}).Status, 0);
    EXPECT_EQ(ReadText(fleet + "/" + names[i]), ReadText(single)) << names[i];
  }

  const ProgramResult same = RunCli({"--port", sim.Path(), "verify-dir", fleet});
  EXPECT_EQ(same.Status, 0) << same.Out << same.Err;
  EXPECT_EQ(Lines(same.Out), (std::vector<std::string>{"module 2 (module-02-Yard_West.dat): Verify OK",
                                                       "module 6 (module-06-Yard_East.dat): Verify OK",
                                                       "module 10 (module-10-Depot.dat): Verify OK"}));

  // One controller changed, one file damaged: the rest are still checked.
  ASSERT_EQ(RunCli({"--port", sim.Path(), "--module", "6", "write-id", "Renamed"}).Status, 0);
  WriteText(fleet + "/module-03-spare.dat", "not a configuration");
  const ProgramResult changed = RunCli({"--port", sim.Path(), "verify-dir", fleet});
  EXPECT_EQ(changed.Status, 2) << "a file that cannot be read is the worst outcome";
  EXPECT_EQ(Lines(changed.Out),
            (std::vector<std::string>{"module 2 (module-02-Yard_West.dat): Verify OK",
                                      "module 3 (module-03-spare.dat): cannot load the file",
                                      "module 6 (module-06-Yard_East.dat): differs: ID String: file <Yard East>, "
                                      "controller <Renamed>",
                                      "module 10 (module-10-Depot.dat): Verify OK"}));
  std::filesystem::remove(fleet + "/module-03-spare.dat");
  EXPECT_EQ(RunCli({"--port", sim.Path(), "verify-dir", fleet}).Status, 1);

  // A second backup replaces each controller's file, under its new name too, keeping the
  // one it replaced as ".bak"; nothing stale is left for verify-dir.
  const ProgramResult again = RunCli({"--port", sim.Path(), "backup", fleet});
  ASSERT_EQ(again.Status, 0) << again.Err;
  EXPECT_EQ(Lines(again.Out),
            (std::vector<std::string>{
                "module 2: saved " + fleet + "/module-02-Yard_West.dat, the previous module-02-Yard_West.dat kept as "
                "module-02-Yard_West.dat.bak",
                "module 6: saved " + fleet + "/module-06-Renamed.dat, the previous module-06-Yard_East.dat kept as "
                "module-06-Yard_East.dat.bak",
                "module 10: saved " + fleet + "/module-10-Depot.dat, the previous module-10-Depot.dat kept as "
                "module-10-Depot.dat.bak"}));
  EXPECT_FALSE(std::filesystem::exists(fleet + "/module-06-Yard_East.dat"));
  EXPECT_NE(ReadText(fleet + "/module-06-Yard_East.dat.bak").find("ID$,\"Yard East\""), std::string::npos);
  EXPECT_EQ(ReadText(fleet + "/module-02-Yard_West.dat.bak"), ReadText(fleet + "/module-02-Yard_West.dat"));
  const ProgramResult renamed = RunCli({"--port", sim.Path(), "verify-dir", fleet});
  EXPECT_EQ(renamed.Status, 0) << renamed.Out << renamed.Err;
  EXPECT_EQ(Lines(renamed.Out), (std::vector<std::string>{"module 2 (module-02-Yard_West.dat): Verify OK",
                                                          "module 6 (module-06-Renamed.dat): Verify OK",
                                                          "module 10 (module-10-Depot.dat): Verify OK"}));
}

TEST_F(CliFleetTest, ABackupBehindExtendedAddressesVerifiesThere) {
  SimProcess sim;
  ASSERT_TRUE(StartLine(sim));
  const std::string fleet = folder / "fleet";
  const ProgramResult backup = RunCli({"--port", sim.Path(), "--zero-based", "backup", fleet, "--xaddr-range", "4-4"});
  ASSERT_EQ(backup.Status, 0) << backup.Err;
  EXPECT_EQ(Lines(backup.Out),
            (std::vector<std::string>{"module 9, extended address 4: saved " + fleet + "/module-09-x04-Depot.dat"}));
  const ProgramResult verify = RunCli({"--port", sim.Path(), "--zero-based", "verify-dir", fleet});
  EXPECT_EQ(verify.Status, 0) << verify.Out << verify.Err;
  EXPECT_EQ(Lines(verify.Out),
            (std::vector<std::string>{"module 9, extended address 4 (module-09-x04-Depot.dat): Verify OK"}));
}

TEST_F(CliFleetTest, ABackupThatMeetsProblemsStillSavesEveryController) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--modules", "1,5", "--no-events"}));
  const std::string fleet = folder / "fleet";
  const ProgramResult r = RunCli({"--port", sim.Path(), "backup", fleet});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Lines(r.Out), (std::vector<std::string>{"module 2: saved " + fleet + "/module-02-unnamed.dat (with problems)",
                                                    "module 6: saved " + fleet + "/module-06-unnamed.dat (with problems)"}));
  EXPECT_NE(r.Err.find("Function not supported by Device"), std::string::npos) << r.Err;
}

// A controller whose operation meets a link failure: that operation ends there and says how
// far it got, and the next controller is still done. A device that goes away takes the
// rest of the line with it.
struct FleetFault {
  const char* Name;
  std::vector<std::string> SimOptions;  // for the controller shown as module 6
  bool DeviceGone;
};

class CliFleetFaultTest : public CliFleetTest, public ::testing::WithParamInterface<FleetFault> {
 protected:
  std::vector<std::string> Faulty() const {
    std::vector<std::string> options{"--faulty", "5"};
    options.insert(options.end(), GetParam().SimOptions.begin(), GetParam().SimOptions.end());
    return options;
  }
};

const FleetFault kFleetFaults[] = {
    {"lost frame", {"--lose-frame", "40"}, false},
    {"controller silent", {"--fail-after", "40"}, false},
    {"device gone", {"--gone-after", "40"}, true},
};

TEST_P(CliFleetFaultTest, BackupEndsOnlyThatControllersReadAtItsFirstLinkFailure) {
  SimProcess sim;
  ASSERT_TRUE(StartLine(sim, Faulty()));
  const std::string fleet = folder / "fleet";
  const auto start = std::chrono::steady_clock::now();
  const ProgramResult r = RunCli({"--port", sim.Path(), "backup", fleet});
  // Each exchange nobody answers would cost the 2-second reply window, hundreds of them.
  EXPECT_LT(SecondsSince(start), 40.0) << "no exchanges nobody answers";
  EXPECT_EQ(r.Status, 1);
  const std::vector<std::string> out = Lines(r.Out);
  ASSERT_EQ(out.size(), 3u) << r.Out << r.Err;
  EXPECT_EQ(out[0], "module 2: saved " + fleet + "/module-02-Yard_West.dat");
  EXPECT_TRUE(out[1].starts_with("module 6: Read All stopped after ")) << out[1];
  EXPECT_TRUE(out[1].ends_with(": nothing was saved")) << out[1];
  EXPECT_EQ(out[2], GetParam().DeviceGone ? "module 10: not read, the port went away: nothing was saved"
                                          : "module 10: saved " + fleet + "/module-10-Depot.dat");
  EXPECT_FALSE(std::filesystem::exists(fleet + "/module-06-Yard_East.dat"));
}

TEST_P(CliFleetFaultTest, VerifyDirEndsOnlyThatControllersCheckAtItsFirstLinkFailure) {
  const std::string fleet = folder / "fleet";
  {
    SimProcess healthy;
    ASSERT_TRUE(StartLine(healthy));
    ASSERT_EQ(RunCli({"--port", healthy.Path(), "backup", fleet}).Status, 0);
  }
  SimProcess sim;
  ASSERT_TRUE(StartLine(sim, Faulty()));
  const ProgramResult r = RunCli({"--port", sim.Path(), "verify-dir", fleet});
  EXPECT_EQ(r.Status, 1);
  const std::vector<std::string> out = Lines(r.Out);
  ASSERT_EQ(out.size(), 3u) << r.Out << r.Err;
  EXPECT_EQ(out[0], "module 2 (module-02-Yard_West.dat): Verify OK");
  EXPECT_TRUE(out[1].starts_with("module 6 (module-06-Yard_East.dat): Verify All stopped after ")) << out[1];
  EXPECT_TRUE(out[1].ends_with(": the comparison is incomplete")) << out[1];
  EXPECT_EQ(out[2], GetParam().DeviceGone ? "module 10 (module-10-Depot.dat): not checked, the port went away"
                                          : "module 10 (module-10-Depot.dat): Verify OK");
}

INSTANTIATE_TEST_SUITE_P(Faults, CliFleetFaultTest, ::testing::ValuesIn(kFleetFaults), CaseName());

TEST(CliFleetUsageTest, BadRangesAndMisplacedFlagsAreUsageErrors) {
  ScratchFolder folder;
  const std::vector<std::vector<std::string>> cases{
      {"--simulate", "scan", "--xaddr-range", "6-2"},
      {"--simulate", "scan", "--xaddr-range", "0-5"},  // numbering from 1
      {"--simulate", "scan", "--xaddr-range", "1-97"},
      {"--simulate", "--zero-based", "scan", "--xaddr-range", "0-96"},
      {"--simulate", "scan", "--xaddr-range", "7"},
      {"--simulate", "scan", "--probe-ms", "-5"},
      {"--simulate", "read-all", folder / "x.dat", "--probe-ms", "5"},
      {"--simulate", "verify-dir", folder / "x", "--xaddr-range", "1-2"},
      {"--simulate", "verify-dir", folder / "nothing-here"},
      {"--simulate", "backup"},
  };
  for (const std::vector<std::string>& args : cases) {
    const ProgramResult r = RunCli(args);
    EXPECT_EQ(r.Status, 2) << args[2] << " " << args.back();
    EXPECT_FALSE(r.Err.empty());
  }
}

}  // namespace
}  // namespace brixo::testing
