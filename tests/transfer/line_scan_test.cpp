// Finding the controllers on a simulated line with several of them, directly and through an
// interface unit: the found set, late answers, silent addresses, stopping, failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "link/brixo_link.h"
#include "link/clock.h"
#include "link/frame_codec.h"
#include "sim/sim_serial_port.h"
#include "support/recording_log.h"
#include "support/recording_prompt.h"
#include "transfer/line_backup_names.h"
#include "transfer/line_scan.h"

namespace brixo::testing {
namespace {

struct Placed {
  int module;
  std::optional<int> extended;
  std::string id;
};

using Address = std::tuple<int, int>;  // module, extended address or -1

Address AddressOf(const FoundController& f) { return {f.Module, f.Extended.value_or(-1)}; }

// A simulated line on a manual clock with the link attached to it, as after opening the port.
class Rig {
 public:
  Rig() {
    port.Open("SIM");
    link.AttachPort(&port);
    link.ToggleState = 128;
  }

  // The first call takes the line's first controller, later ones add controllers. Each
  // gets its own version (3.2.1.module) so that answers cannot be mixed up unseen.
  SimController& Put(const Placed& p) {
    SimController& c = placed_++ == 0 ? port.Controller() : port.Controllers().Add(p.module);
    c.SetModuleAddress(p.module);
    c.Memory().IdString = p.id;
    c.Memory().Version = {3, 2, 1, static_cast<uint8_t>(p.module)};
    if (p.extended) c.Memory().ModuleXAddress = static_cast<uint8_t>(*p.extended);
    return c;
  }
  void Tunnel() {
    port.SetHostAttached(true);
    link.CheckQuendal = true;
  }

  // Without `problems`, nothing may have answered unusably (a late answer cut by its
  // window is no collision).
  std::vector<FoundController> Scan(const ScanSettings& settings = {}, std::vector<std::string>* problems = nullptr) {
    LineScan scan(link, settings);
    scan.Run();
    EXPECT_FALSE(scan.LinkFailed());
    std::vector<std::string> said;
    for (const ScanProblem& problem : scan.Problems()) said.push_back(ScanProblemText(problem, 1));
    if (problems) *problems = said;
    else EXPECT_EQ(said, std::vector<std::string>{});
    return scan.Found();
  }

  ManualClock clock;
  RecordingPrompt prompt;
  RecordingLog log;
  SimSerialPort port{clock};
  BrixoLink link{clock, prompt, log};

 private:
  int placed_ = 0;
};

TEST(LineScan, FindsExactlyTheControllersOnTheLine) {
  struct Case {
    const char* name;
    bool tunnelled;
    std::optional<ScanSettings::Range> range;
    std::vector<Placed> line;
    std::vector<Address> expected;
  };
  const Case cases[] = {
      {"three direct", false, {}, {{1, {}, "Yard West"}, {5, {}, "Yard East"}, {9, {}, ""}}, {{1, -1}, {5, -1}, {9, -1}}},
      {"both ends of the direct range", false, {}, {{0, {}, "first"}, {15, {}, "last"}}, {{0, -1}, {15, -1}}},
      {"direct frames do not reach 16 and above", false, {}, {{4, {}, "a"}, {20, {}, "b"}}, {{4, -1}}},
      {"tunnelled up to 31", true, {}, {{3, {}, "a"}, {20, {}, "b"}, {31, {}, "c"}}, {{3, -1}, {20, -1}, {31, -1}}},
      {"extended range", false, ScanSettings::Range{10, 12},
       {{3, 11, "a"}, {3, 12, "b"}, {7, 10, "c"}, {8, 40, "outside"}, {9, {}, "plain"}},
       {{3, 11}, {3, 12}, {7, 10}}},
      {"extended range tunnelled", true, ScanSettings::Range{0, 1}, {{2, 1, "a"}, {25, 0, "b"}}, {{2, 1}, {25, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig fresh;
    for (const Placed& p : c.line) fresh.Put(p);
    if (c.tunnelled) fresh.Tunnel();
    ScanSettings settings;
    settings.ExtendedRange = c.range;
    const std::vector<FoundController> found = fresh.Scan(settings);
    std::vector<Address> addresses;
    for (const FoundController& f : found) {
      addresses.push_back(AddressOf(f));
      EXPECT_FALSE(f.Late);
      EXPECT_EQ(f.Version, "3.2.1." + std::to_string(f.Module));
      for (const Placed& p : c.line) {
        if (p.module == f.Module && p.extended == f.Extended) {
          EXPECT_EQ(f.IdString, p.id);
        }
      }
    }
    EXPECT_EQ(addresses, c.expected);
    EXPECT_TRUE(fresh.prompt.Messages.empty()) << fresh.prompt.Messages.front();
  }
}

TEST(LineScan, EveryDirectAddressIsFoundWhereverTheControllerSits) {
  for (int module = 0; module < kDirectModuleCount; ++module) {
    Rig fresh;
    fresh.Put({module, {}, "m" + std::to_string(module)});
    const std::vector<FoundController> found = fresh.Scan();
    ASSERT_EQ(found.size(), 1u) << module;
    EXPECT_EQ(found[0].Module, module);
    EXPECT_EQ(found[0].IdString, "m" + std::to_string(module));
  }
}

TEST(LineScan, SilentAddressesCostOneShortWindowEachAndShowNothing) {
  Rig r;
  r.Put({6, {}, "only"});
  r.link.CheckBrixoBD = false;
  const double start = r.clock.NowSeconds();
  LineScan scan(r.link, {});
  scan.Run();
  const double elapsed = r.clock.NowSeconds() - start;
  ASSERT_EQ(scan.Found().size(), 1u);
  EXPECT_LT(elapsed, kDirectModuleCount * scan.ProbeWindow() + ScanSettings{}.LateListenSeconds + 0.01);
  EXPECT_LT(scan.ProbeWindow(), 0.1);
  EXPECT_TRUE(r.prompt.Messages.empty());
  EXPECT_TRUE(r.link.CheckBrixoBD) << "a probe needs replies; silence does not switch them off";
}

TEST(LineScan, ALateAnswerIsReportedAndDoesNotDisturbTheNextProbe) {
  Rig r;
  // Module 3 answers after its window, while module 4 is being probed; module 15 answers
  // late with no probe behind it.
  r.Put({3, {}, "slow"}).Faults().ReplyDelaySeconds = 0.1;
  r.Put({4, {}, "prompt"});
  r.Put({15, {}, "slow too"}).Faults().ReplyDelaySeconds = 0.2;
  const std::vector<FoundController> found = r.Scan();
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(AddressOf(found[0]), Address(3, -1));
  EXPECT_TRUE(found[0].Late);
  EXPECT_EQ(found[0].Version, "3.2.1.3");
  EXPECT_EQ(found[0].IdString, "slow") << "read with the ordinary window afterwards";
  EXPECT_FALSE(found[1].Late);
  EXPECT_EQ(found[1].Version, "3.2.1.4");
  EXPECT_EQ(found[1].IdString, "prompt");
  EXPECT_TRUE(found[2].Late);
  EXPECT_EQ(found[2].IdString, "slow too");
  EXPECT_TRUE(r.prompt.Messages.empty());
}

TEST(LineScan, TheWindowDecidesBetweenInTimeAndLate) {
  const double window = ProbeWindowSeconds(19200, kDefaultProbeMarginSeconds, false, false);
  struct Case {
    double delay;
    bool found;
    bool late;
  };
  const Case cases[] = {{0.0, true, false}, {window - 0.002, true, false}, {window + 0.005, true, true},
                        {0.45, true, true}, {1.5, false, false}};
  for (const Case& c : cases) {
    Rig fresh;
    fresh.Put({15, {}, "x"}).Faults().ReplyDelaySeconds = c.delay;
    const std::vector<FoundController> found = fresh.Scan();
    ASSERT_EQ(found.size(), c.found ? 1u : 0u) << c.delay;
    if (c.found) {
      EXPECT_EQ(found[0].Late, c.late) << c.delay;
    }
    // Whatever came after the scan is not taken for the reply of the next exchange.
    fresh.clock.Advance(2.0);
    fresh.link.ModuleAddress = 15;
    fresh.link.ToggleState = 128;
    fresh.link.SendBrixoMessage(true, {112, 10});
    EXPECT_TRUE(fresh.link.ReplyValid) << c.delay;
    EXPECT_EQ(fresh.link.R(1), 10) << c.delay;
    EXPECT_TRUE(fresh.prompt.Messages.empty()) << c.delay;
  }
}

TEST(LineScan, AMarginOfTheUsersChoiceCatchesASlowController) {
  Rig r;
  r.Put({2, {}, "slow"}).Faults().ReplyDelaySeconds = 0.15;
  ScanSettings generous;
  generous.MarginSeconds = 0.2;
  const std::vector<FoundController> found = r.Scan(generous);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_FALSE(found[0].Late);
}

TEST(LineScan, EachModuleKeepsItsAlternationAcrossScansAndAfterwards) {
  Rig r;
  r.Put({1, {}, "one"});
  r.Put({2, {}, "two"});
  r.Put({3, {}, "three"});
  r.link.ModuleAddress = 2;
  const std::vector<FoundController> first = r.Scan();
  const std::vector<FoundController> second = r.Scan();
  ASSERT_EQ(first.size(), 3u);
  ASSERT_EQ(second.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(AddressOf(second[i]), AddressOf(first[i]));
    EXPECT_EQ(second[i].IdString, first[i].IdString);
  }
  // The link is as it was, and its next frame resynchronises.
  EXPECT_EQ(r.link.ModuleAddress, 2);
  EXPECT_EQ(r.link.ToggleState, 128);
  for (int module : {3, 1, 2}) {
    r.link.ModuleAddress = static_cast<uint8_t>(module);
    r.link.ToggleState = 128;
    r.link.SendBrixoMessage(true, {112, 0});
    ASSERT_TRUE(r.link.ReplyValid) << module;
    r.link.SendBrixoMessage(true, {112, 10});
    ASSERT_TRUE(r.link.ReplyValid) << module;
    EXPECT_EQ(r.link.R(1), 10) << module;
  }
  EXPECT_TRUE(r.prompt.Messages.empty());
}

TEST(LineScan, EveryProbeGoesOutOnAFreshlySynchronisedLine) {
  // Each probe names another module, and a new module starts with the burst and its own
  // synchronising frame, so that its first frame carries the alternation bit it expects.
  Rig r;
  r.Put({9, {}, "nine"}).Faults().NoReply = true;
  r.Scan();
  const std::vector<uint8_t>& wire = r.port.Written();
  const std::vector<uint8_t> burst(kResyncBurst.begin(), kResyncBurst.end());
  int probes = 0;
  for (auto at = std::search(wire.begin(), wire.end(), burst.begin(), burst.end()); at != wire.end();
       at = std::search(at + 1, wire.end(), burst.begin(), burst.end())) {
    const size_t i = static_cast<size_t>(at - wire.begin()) + burst.size();
    ASSERT_LE(i + 4, wire.size());
    const int a = probes * 4 + 3;
    EXPECT_EQ((std::vector<int>{wire[i], wire[i + 1], wire[i + 2], wire[i + 3]}), (std::vector<int>{a, 0xC0, 192 - a, a + 64}))
        << "probe of module " << probes;
    ++probes;
  }
  EXPECT_EQ(probes, kDirectModuleCount);
}

TEST(LineScan, ControllersSharingAModuleAnswerOnlyTheirExtendedAddress) {
  Rig r;
  // A plain request reaches both: they talk at once, nobody hears either, and the noise
  // they make is reported, as displayed.
  r.Put({5, 1, "left"});
  r.Put({5, 2, "right"});
  std::vector<std::string> problems;
  EXPECT_TRUE(r.Scan({}, &problems).empty());
  EXPECT_EQ(problems, std::vector<std::string>{"something answered at module 6, but the reply was garbled \u2014 two "
                                               "controllers on one address?"});
  ScanSettings range;
  range.ExtendedRange = ScanSettings::Range{0, 3};
  const std::vector<FoundController> found = r.Scan(range);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].IdString, "left");
  EXPECT_EQ(found[1].IdString, "right");
  EXPECT_EQ(r.link.CheckXaddress, false) << "extended addressing is put back as it was";
}

// Two controllers on one module, one of them behind an extended address: the scan finds
// the others and reports the collision, however the replies are delayed.
TEST(LineScan, TwoControllersOnOneAddressAreReportedNotPassedOver) {
  for (double delay : {0.0, 0.02}) {
    SCOPED_TRACE(delay);
    Rig r;
    r.Put({1, {}, "plain"});
    r.Put({1, 12, "behind"}).Faults().ReplyDelaySeconds = delay;
    r.Put({5, {}, "alone"});
    std::vector<std::string> problems;
    const std::vector<FoundController> found = r.Scan({}, &problems);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].Module, 5);
    EXPECT_EQ(problems, std::vector<std::string>{"something answered at module 2, but the reply was garbled \u2014 "
                                                 "two controllers on one address?"});
    EXPECT_TRUE(r.prompt.Messages.empty()) << r.prompt.Messages.front();
  }
}

TEST(LineScan, StopEndsAtOnceAndKeepsWhatWasFound) {
  Rig r;
  r.Put({0, {}, "zero"});
  r.Put({9, {}, "nine"});
  r.link.ModuleAddress = 7;
  LineScan scan(r.link, {});
  for (int i = 0; i < 3; ++i) scan.Step();
  EXPECT_EQ(scan.ProbesDone(), 3);
  EXPECT_EQ(scan.NextProbe()->Module, 3);
  scan.Stop();
  EXPECT_TRUE(scan.Finished());
  EXPECT_TRUE(scan.Stopped());
  ASSERT_EQ(scan.Found().size(), 1u);
  EXPECT_EQ(scan.Found()[0].Module, 0);
  EXPECT_EQ(r.link.ModuleAddress, 7);
  const size_t written = r.port.Written().size();
  scan.Step();
  EXPECT_EQ(r.port.Written().size(), written) << "a stopped scan sends nothing more";
}

TEST(LineScan, AFailingLinkEndsTheScanAfterOneMessage) {
  struct Case {
    const char* name;
    bool tunnelled;
    std::string message;
  };
  const Case cases[] = {{"port closed", false, "Select communications port"},
                        {"interface unit silent", true, "No answer from Quendal"}};
  for (const Case& c : cases) {
    Rig fresh;
    fresh.Put({4, {}, "x"});
    if (c.tunnelled) {
      fresh.Tunnel();
      fresh.port.Host().Config().Silent = true;
    } else {
      fresh.port.Close();
    }
    LineScan scan(fresh.link, {});
    scan.Run();
    EXPECT_TRUE(scan.LinkFailed()) << c.name;
    EXPECT_TRUE(scan.Found().empty()) << c.name;
    ASSERT_FALSE(fresh.prompt.Messages.empty()) << c.name;
    EXPECT_EQ(fresh.prompt.Messages.front(), c.message) << c.name;
    EXPECT_EQ(fresh.prompt.Messages.size(), 1u) << c.name;
  }
}

// The command line stops an operation at its first link failure. A probe of an empty
// address is answered by silence, which is what a scan expects and no failure; a device
// that goes away is one, and ends the scan there.
TEST(LineScan, UnderAStopOnLinkFailureSilenceIsNoFailureButALostDeviceIs) {
  struct Case {
    const char* name;
    bool tunnelled;
    int goneAt;  // module whose controller takes the device away with its first frame; -1: none
    std::vector<Address> expected;
  };
  const Case cases[] = {
      {"direct, every controller", false, -1, {{1, -1}, {5, -1}, {9, -1}}},
      {"tunnelled, every controller", true, -1, {{1, -1}, {5, -1}, {9, -1}}},
      {"direct, the device goes at module 5", false, 5, {{1, -1}}},
      {"tunnelled, the device goes at module 5", true, 5, {{1, -1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig r;
    for (int module : {1, 5, 9}) {
      SimController& placed = r.Put({module, {}, "m" + std::to_string(module)});
      if (module == 9) placed.Faults().ReplyDelaySeconds = 0.1;  // late: heard while listening
      if (module == c.goneAt) placed.Faults().GoneAfterFrames = 0;
    }
    if (c.tunnelled) r.Tunnel();
    r.link.StopOnLinkFailure = true;
    CancellationScope operation(r.link.Cancellation());
    LineScan scan(r.link, {});
    scan.Run();
    std::vector<Address> found;
    for (const FoundController& f : scan.Found()) found.push_back(AddressOf(f));
    EXPECT_EQ(found, c.expected);
    if (c.goneAt < 0) {
      EXPECT_FALSE(scan.LinkFailed());
      EXPECT_FALSE(r.link.Cancellation().Tripped()) << "silence stopped the scan";
      EXPECT_TRUE(r.prompt.Messages.empty()) << r.prompt.Messages.front();
    } else {
      EXPECT_TRUE(scan.LinkFailed());
      EXPECT_EQ(r.link.Cancellation().Reason(), StopReason::PortLost);
      EXPECT_EQ(r.prompt.Messages, std::vector<std::string>{PortGoneFault("SIM")});
    }
  }
}

TEST(LineScan, ALateAnswerThroughTheInterfaceUnitIsCollectedByThePolls) {
  Rig r;
  r.Put({12, {}, "slow"}).Faults().ReplyDelaySeconds = 0.12;
  r.Put({13, {}, "prompt"});
  r.Tunnel();
  const std::vector<FoundController> found = r.Scan();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_TRUE(found[0].Late);
  EXPECT_EQ(found[0].IdString, "slow");
  EXPECT_FALSE(found[1].Late);
  EXPECT_TRUE(r.prompt.Messages.empty());
}

TEST(ProbeWindow, CoversTheBytesOnTheWireAndTheMargin) {
  struct Case {
    int baud;
    bool extended;
    bool tunnelled;
    int bytes;
  };
  // Direct: burst and synchronising frame 12, request 5, reply 9 (one more each with an
  // extended address). Tunnelled: poll 2, host frame with the reply 11 (+1).
  const Case cases[] = {{19200, false, false, 26}, {9600, false, false, 26}, {38400, true, false, 28},
                        {19200, false, true, 13},  {19200, true, true, 14}};
  for (const Case& c : cases) {
    const double wire = c.bytes * 11.0 / c.baud;
    EXPECT_NEAR(ProbeWindowSeconds(c.baud, 0.05, c.extended, c.tunnelled), wire + 0.05, 1e-9) << c.baud;
    EXPECT_NEAR(ProbeWindowSeconds(c.baud, 0.0, c.extended, c.tunnelled), wire, 1e-9) << c.baud;
  }
  // All sixteen silent direct addresses at 19200 bit/s fit well inside three seconds.
  EXPECT_LT(16 * ProbeWindowSeconds(19200, kDefaultProbeMarginSeconds, false, false) + 0.5, 3.0);
}

TEST(BackupFileName, NamesAreSafeAndGiveTheirAddressBack) {
  struct Case {
    int module;
    std::optional<int> extended;
    std::string id;
    std::string name;
  };
  const Case cases[] = {
      {3, {}, "Yard West", "module-03-Yard_West.dat"},
      {3, 12, "Yard West", "module-03-x12-Yard_West.dat"},
      {16, {}, "", "module-16-unnamed.dat"},
      {1, {}, "../../etc", "module-01-etc.dat"},
      {1, {}, "a/b\\c", "module-01-a_b_c.dat"},
      {2, {}, "x12", "module-02-x12.dat"},
      {2, {}, "--", "module-02-unnamed.dat"},
      {32, 96, "\xC4rger", "module-32-x96-rger.dat"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BackupFileName(c.module, c.extended, c.id), c.name);
    const std::optional<BackupFileAddress> back = ParseBackupFileName(c.name);
    ASSERT_TRUE(back.has_value()) << c.name;
    EXPECT_EQ(back->Module, c.module) << c.name;
    EXPECT_EQ(back->Extended, c.extended) << c.name;
  }
  // Every address comes back from its name, whatever the identification string holds.
  for (int module = 0; module <= 32; ++module) {
    for (int x = -1; x <= 96; ++x) {
      const std::optional<int> extended = x < 0 ? std::nullopt : std::optional<int>(x);
      for (const char* id : {"", "x07", "A-B", "module-01"}) {
        const std::string name = BackupFileName(module, extended, id);
        EXPECT_EQ(name.find('/'), std::string::npos);
        const std::optional<BackupFileAddress> back = ParseBackupFileName(name);
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_EQ(back->Module, module);
        EXPECT_EQ(back->Extended, extended);
      }
    }
  }
  for (const char* other : {"module-3-a.dat", "module-03.dat", "module-03-a.txt", "modul-03-a.dat", "module-03-x1-a.dat",
                            "module-03-x12-a-b.dat", "notes.dat", "module-03-.dat"}) {
    EXPECT_FALSE(ParseBackupFileName(other).has_value()) << other;
  }
}

TEST(LineBackupFileName, EachLineTagsItsFilesAndGetsTheTagAndAddressBack) {
  const std::pair<const char*, const char*> tags[] = {
      {"/dev/ttyUSB0", "ttyUSB0"},
      {"/dev/pts/3", "pts_3"},
      {"/dev/serial/by-id/usb-FTDI_FT232R-if00", "serial_by-id_usb-FTDI_FT232R-if00"},
      {"/tmp/line", "line"},
      {"rfc2217://layout-pi:3333", "layout-pi_3333"},
      {"socket://192.168.1.20:4001", "192.168.1.20_4001"},
      {"rfc2217://[fe80::1]:3333", "fe80__1_3333"},
  };
  for (const auto& [port, tag] : tags) {
    EXPECT_EQ(LineTag(port), tag) << port;
    for (int module : {0, 3, 31}) {
      for (const std::optional<int> extended : {std::optional<int>(), std::optional<int>(12)}) {
        for (const char* id : {"", "Yard West", "module-01", "x07"}) {
          const std::string name = TaggedBackupFileName(tag, BackupFileName(module, extended, id));
          EXPECT_EQ(name.find('/'), std::string::npos) << name;
          const std::optional<TaggedBackupFile> back = ParseTaggedBackupFileName(name);
          ASSERT_TRUE(back.has_value()) << name;
          EXPECT_EQ(back->Tag, tag);
          EXPECT_EQ(back->Address.Module, module);
          EXPECT_EQ(back->Address.Extended, extended);
        }
      }
    }
  }
  // A single line's names stay as they were, untagged.
  EXPECT_EQ(TaggedBackupFileName("", "module-03-Yard_West.dat"), "module-03-Yard_West.dat");
  const std::optional<TaggedBackupFile> single = ParseTaggedBackupFileName("module-03-Yard_West.dat");
  ASSERT_TRUE(single.has_value());
  EXPECT_EQ(single->Tag, "");
  for (const char* other : {"ttyUSB0-module-03-a.dat", "_module-03-a.dat", "ttyUSB0_module-3-a.dat", "notes.dat",
                            "ttyUSB0_module-03-a.dat.bak"}) {
    EXPECT_FALSE(ParseTaggedBackupFileName(other).has_value()) << other;
  }
}

}  // namespace
}  // namespace brixo::testing
