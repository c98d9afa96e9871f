// brixo-cli through the real ser2net (raw TCP and RFC 2217) serving brixo-sim's
// pseudo-terminal: whole-controller transfers byte for byte as over the device itself, the
// line settings reaching the device, a server killed mid-operation, a refused connection,
// and several lines worked at once.
#include <signal.h>
#include <termios.h>

#include <algorithm>
#include <thread>

#include "cli_test_support.h"
#include "support/case_name.h"
#include "support/ser2net_process.h"
#include "transfer/line_backup_names.h"

namespace brixo::testing {
namespace {

using namespace std::chrono_literals;

const char* ProtocolText(NetworkProtocol protocol) {
  return protocol == NetworkProtocol::Rfc2217 ? "rfc2217" : "raw";
}

// brixo-cli in the background, so that something can happen to its line meanwhile.
class CliInBackground {
 public:
  explicit CliInBackground(const std::vector<std::string>& args) {
    pid_ = fork();
    if (pid_ == 0) {
      dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
      dup2(open(out_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
      dup2(open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
      std::vector<char*> argv{const_cast<char*>(BRIXO_CLI_EXE)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(BRIXO_CLI_EXE, argv.data());
      _exit(127);
    }
  }
  ~CliInBackground() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  void Signal(int number) { kill(pid_, number); }
  ProgramResult Finish(std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        status = -1;
        break;
      }
      std::this_thread::sleep_for(10ms);
    }
    pid_ = -1;
    return {status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out_), ReadText(err_)};
  }

 private:
  ScratchFolder folder_;
  const std::string out_ = folder_ / "out";
  const std::string err_ = folder_ / "err";
  pid_t pid_ = -1;
};

// Waits until the log holds at least this many frames sent (by any line: with several,
// each log line begins with its line's name in brackets).
bool AwaitFrames(const std::string& log, int frames, std::chrono::seconds limit = 20s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  const auto sent = [](const std::string& l) { return l.starts_with("> ") || l.find("] > ") != std::string::npos; };
  while (std::chrono::steady_clock::now() < end) {
    const std::vector<std::string> lines = Lines(ReadText(log));
    if (std::count_if(lines.begin(), lines.end(), sent) >= frames) return true;
    std::this_thread::sleep_for(5ms);
  }
  return false;
}

// The frames of a --log file, each way, without the notes about the port.
std::vector<std::string> Frames(const std::string& log) {
  std::vector<std::string> frames;
  for (const std::string& line : Lines(log)) {
    if (line.starts_with(">") || line.starts_with("<")) frames.push_back(line);
  }
  return frames;
}

// The bit rate the pseudo-terminal's settings hold now.
speed_t DeviceSpeed(const std::string& device) {
  const int handle = open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  termios settings{};
  const bool read = handle >= 0 && tcgetattr(handle, &settings) == 0;
  if (handle >= 0) close(handle);
  return read ? cfgetospeed(&settings) : B0;
}

class CliNetworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Ser2netInstalled()) GTEST_SKIP() << kSer2netExe << " is missing: scripts/setup.sh installs it (package ser2net)";
  }
  ScratchFolder folder;
  const std::string demo = DataFile("demo.dat");
};

struct NetworkTransfer {
  const char* Name;
  NetworkProtocol Protocol;
  const char* Command;
  bool Loaded;  // the controller starts with the demo configuration
  std::vector<std::string> Options = {};     // brixo-cli's link options
  std::vector<std::string> SimOptions = {};  // more of brixo-sim's
};

const NetworkTransfer kTransfers[] = {
    {"raw read all", NetworkProtocol::RawTcp, "read-all", true},
    {"raw write all", NetworkProtocol::RawTcp, "write-all", false},
    {"raw verify all", NetworkProtocol::RawTcp, "verify-all", true},
    {"rfc2217 read all", NetworkProtocol::Rfc2217, "read-all", true},
    {"rfc2217 write all", NetworkProtocol::Rfc2217, "write-all", false},
    {"rfc2217 verify all", NetworkProtocol::Rfc2217, "verify-all", true},
    {"rfc2217 tunnelled read all", NetworkProtocol::Rfc2217, "read-all", true, {"--tunnel"}, {"--host"}},
    {"rfc2217 transparent verify all", NetworkProtocol::Rfc2217, "verify-all", true, {"--transparent", "--yes"},
     {"--host", "--protocol", "3100"}},
    {"rfc2217 38400 write all", NetworkProtocol::Rfc2217, "write-all", false, {"--baud", "38400"}},
};

class CliNetworkTransferTest : public CliNetworkTest, public ::testing::WithParamInterface<NetworkTransfer> {};

// The same command once through ser2net and once on the device itself, each against a
// controller of its own in the same state: the frames each way are the same, and so is
// what is left (the file read, the controller written, the report).
TEST_P(CliNetworkTransferTest, GoesByteForByteAsOnTheDeviceItself) {
  const NetworkTransfer& c = GetParam();
  std::vector<std::string> simOptions = c.SimOptions;
  if (c.Loaded) simOptions.insert(simOptions.end(), {"--load", demo});
  SimProcess remote;
  SimProcess local;
  ASSERT_TRUE(StartSim(remote, simOptions));
  ASSERT_TRUE(StartSim(local, simOptions));
  Ser2netProcess server;
  ASSERT_TRUE(server.Start(remote.Path(), c.Protocol));
  const bool reads = std::string(c.Command) == "read-all";
  const std::string remoteFile = reads ? folder / "remote.dat" : demo;
  const std::string localFile = reads ? folder / "local.dat" : demo;

  const auto run = [&](const std::string& port, const std::string& log, const std::string& file) {
    std::vector<std::string> args{"--port", port, "--log", log};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    args.insert(args.end(), {c.Command, file});
    return RunCli(args);
  };
  const ProgramResult overNetwork = run(server.Url(), folder / "remote.log", remoteFile);
  const ProgramResult direct = run(local.Path(), folder / "local.log", localFile);
  ASSERT_EQ(overNetwork.Status, 0) << overNetwork.Err;
  ASSERT_EQ(direct.Status, 0) << direct.Err;
  EXPECT_EQ(overNetwork.Out, direct.Out);
  const std::vector<std::string> frames = Frames(ReadText(folder / "remote.log"));
  EXPECT_GT(frames.size(), 100u);
  EXPECT_TRUE(frames == Frames(ReadText(folder / "local.log"))) << "the frames differ";
  if (reads) {
    EXPECT_EQ(ReadText(remoteFile), ReadText(localFile));
  }
  if (std::string(c.Command) == "write-all") {
    // What each controller holds now. ser2net lets go of its device a moment after the
    // connection ends: the remote one is read through it again.
    ASSERT_EQ(RunCli({"--port", server.Url(), "read-all", folder / "remote-after.dat"}).Status, 0);
    ASSERT_EQ(RunCli({"--port", local.Path(), "read-all", folder / "local-after.dat"}).Status, 0);
    EXPECT_EQ(ReadText(folder / "remote-after.dat"), ReadText(folder / "local-after.dat"));
  }
}

INSTANTIATE_TEST_SUITE_P(Transfers, CliNetworkTransferTest, ::testing::ValuesIn(kTransfers), CaseName());

struct LineSetting {
  const char* Name;
  NetworkProtocol Protocol;
  const char* Baud;
  speed_t Seen;  // on the device while the command runs
};

const LineSetting kLineSettings[] = {
    {"rfc2217 38400", NetworkProtocol::Rfc2217, "38400", B38400},
    {"rfc2217 9600", NetworkProtocol::Rfc2217, "9600", B9600},
    {"raw keeps the server's", NetworkProtocol::RawTcp, "38400", B19200},
};

class CliNetworkLineSettingTest : public CliNetworkTest, public ::testing::WithParamInterface<LineSetting> {};

TEST_P(CliNetworkLineSettingTest, TheBitRateReachesTheDeviceOverRfc2217Only) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim));
  Ser2netProcess server;
  ASSERT_TRUE(server.Start(sim.Path(), GetParam().Protocol, "19200o81"));
  const std::string log = folder / "log";
  CliInBackground monitor({"--port", server.Url(), "--baud", GetParam().Baud, "--log", log, "monitor", "--seconds", "20"});
  ASSERT_TRUE(AwaitFrames(log, 2));
  EXPECT_EQ(DeviceSpeed(sim.Path()), GetParam().Seen);
}

INSTANTIATE_TEST_SUITE_P(Rates, CliNetworkLineSettingTest, ::testing::ValuesIn(kLineSettings), CaseName());

class CliNetworkLossTest : public CliNetworkTest, public ::testing::WithParamInterface<NetworkProtocol> {};

// The server dies during a Read All: the operation ends at once as for an unplugged
// adapter, says how far it got, and leaves the old backup as it was.
TEST_P(CliNetworkLossTest, AServerKilledMidReadAllLeavesTheOldBackup) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--pace", "--load", demo}));
  Ser2netProcess server;
  ASSERT_TRUE(server.Start(sim.Path(), GetParam()));
  const std::string backup = folder / "backup.dat";
  WriteText(backup, "the old backup");
  const std::string log = folder / "log";
  CliInBackground read({"--port", server.Url(), "--log", log, "read-all", backup});
  ASSERT_TRUE(AwaitFrames(log, 30));
  server.Kill();
  const auto killed = std::chrono::steady_clock::now();
  const ProgramResult r = read.Finish(20s);
  EXPECT_LT(SecondsSince(killed), 3.0) << "the end of the connection ends the wait";
  EXPECT_EQ(r.Status, 1);
  const std::vector<std::string> err = Lines(r.Err);
  ASSERT_EQ(err.size(), 2u) << r.Err;
  const std::string name = PortDisplayName(server.Url());
  EXPECT_TRUE(err[0].starts_with("Communications port " + name + " went away (")) << err[0];
  EXPECT_TRUE(err[1].starts_with("Read All stopped after ")) << err[1];
  EXPECT_TRUE(err[1].ends_with(": nothing was saved")) << err[1];
  EXPECT_EQ(ReadText(backup), "the old backup");
}

INSTANTIATE_TEST_SUITE_P(Protocols, CliNetworkLossTest,
                         ::testing::Values(NetworkProtocol::RawTcp, NetworkProtocol::Rfc2217),
                         [](const auto& info) { return ProtocolText(info.param); });

TEST_F(CliNetworkTest, ARefusedConnectionIsAnUnusablePort) {
  const int port = FreeTcpPort();
  const std::string url = NetworkUrl({NetworkProtocol::Rfc2217, "127.0.0.1", port});
  const ProgramResult r = RunCli({"--port", url, "version"});
  EXPECT_EQ(r.Status, 2);
  const std::string where = "127.0.0.1:" + std::to_string(port);
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{
                              "Cannot open communications port " + where + " (RFC 2217)",
                              where + " refused the connection: no serial server listens on port " +
                                  std::to_string(port)}));
}

// A local line and a line behind ser2net, each with its own controllers at the same
// addresses: each line's results come together, under its name, and the backup files of
// the two lines stay apart.
TEST_F(CliNetworkTest, SeveralLinesAreWorkedAtOnceAndReportedLineByLine) {
  SimProcess local;
  SimProcess remote;
  ASSERT_TRUE(StartSim(local, {"--modules", "1,5", "--load", "1=" + demo}));
  ASSERT_TRUE(StartSim(remote, {"--modules", "1", "--load", "1=" + demo}));
  Ser2netProcess server;
  ASSERT_TRUE(server.Start(remote.Path(), NetworkProtocol::Rfc2217));
  const std::string remoteName = PortDisplayName(server.Url());
  const std::string localTag = LineTag(local.Path());
  const std::string remoteTag = "127.0.0.1_" + std::to_string(server.Port());

  const ProgramResult scan = RunCli({"--port", local.Path(), "--port", server.Url(), "scan"});
  EXPECT_EQ(scan.Status, 0) << scan.Err;
  EXPECT_EQ(Lines(scan.Out), (std::vector<std::string>{"Line " + local.Path() + ":",
                                                       "module 2: firmware 3.2.1.0, ID \"Demo Layout\"",
                                                       "module 6: firmware 3.2.1.0, ID \"\"",
                                                       "Line " + remoteName + ":",
                                                       "module 2: firmware 3.2.1.0, ID \"Demo Layout\""}));

  const std::string fleet = folder / "fleet";
  const ProgramResult backup = RunCli({"--port", local.Path(), "--port", server.Url(), "backup", fleet});
  EXPECT_EQ(backup.Status, 0) << backup.Err;
  const std::string localWest = localTag + "_module-02-Demo_Layout.dat";
  const std::string localSpare = localTag + "_module-06-unnamed.dat";
  const std::string remoteWest = remoteTag + "_module-02-Demo_Layout.dat";
  EXPECT_EQ(Lines(backup.Out), (std::vector<std::string>{"Line " + local.Path() + ":",
                                                         "module 2: saved " + fleet + "/" + localWest,
                                                         "module 6: saved " + fleet + "/" + localSpare,
                                                         "Line " + remoteName + ":",
                                                         "module 2: saved " + fleet + "/" + remoteWest}));

  // The remote controller changes: only its line differs, and the local line's module 2
  // is not taken for it.
  ASSERT_EQ(RunCli({"--port", server.Url(), "--module", "2", "write-id", "Renamed"}).Status, 0);
  const ProgramResult verify = RunCli({"--port", local.Path(), "--port", server.Url(), "verify-dir", fleet});
  EXPECT_EQ(verify.Status, 1);
  EXPECT_EQ(Lines(verify.Out),
            (std::vector<std::string>{"Line " + local.Path() + ":",
                                      "module 2 (" + localWest + "): Verify OK",
                                      "module 6 (" + localSpare + "): Verify OK",
                                      "Line " + remoteName + ":",
                                      "module 2 (" + remoteWest + "): differs: ID String: file <Demo Layout>, "
                                      "controller <Renamed>"}));
  // One line alone takes its own files from the shared folder.
  const ProgramResult alone = RunCli({"--port", local.Path(), "verify-dir", fleet});
  EXPECT_EQ(alone.Status, 0) << alone.Out << alone.Err;
  EXPECT_EQ(Lines(alone.Out).size(), 2u) << alone.Out;
}

// A line that cannot be reached fails alone: the other is still worked, and each
// message names its line.
TEST_F(CliNetworkTest, ALineThatCannotBeReachedLeavesTheOthersGoing) {
  SimProcess local;
  ASSERT_TRUE(StartSim(local, {"--modules", "1"}));
  const int port = FreeTcpPort();
  const std::string url = NetworkUrl({NetworkProtocol::Rfc2217, "127.0.0.1", port});
  const std::string name = PortDisplayName(url);
  const std::string fleet = folder / "fleet";
  const ProgramResult r = RunCli({"--port", url, "--port", local.Path(), "backup", fleet});
  EXPECT_EQ(r.Status, 2) << "an unusable port is the worst outcome";
  EXPECT_EQ(Lines(r.Out), (std::vector<std::string>{"Line " + name + ":", "Line " + local.Path() + ":",
                                                    "module 2: saved " + fleet + "/" + LineTag(local.Path()) +
                                                        "_module-02-unnamed.dat"}));
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{
                              name + ": Cannot open communications port " + name,
                              name + ": 127.0.0.1:" + std::to_string(port) +
                                  " refused the connection: no serial server listens on port " +
                                  std::to_string(port)}));
}

// Ctrl-C stops every line after its exchange in flight; each says how far it got, no file
// is saved, and the run ends with 130.
TEST(CliSeveralLinesTest, AnInterruptStopsEveryLineInOrder) {
  SimProcess first;
  SimProcess second;
  ASSERT_TRUE(StartSim(first, {"--pace", "--modules", "1", "--load", "1=" + DataFile("demo.dat")}));
  ASSERT_TRUE(StartSim(second, {"--pace", "--modules", "3", "--load", "3=" + DataFile("demo.dat")}));
  ScratchFolder folder;
  const std::string log = folder / "log";
  const std::string fleet = folder / "fleet";
  CliInBackground backup({"--port", first.Path(), "--port", second.Path(), "--log", log, "backup", fleet});
  // Past the scans, into both lines' Read All.
  ASSERT_TRUE(AwaitFrames(log, 120));
  backup.Signal(SIGINT);
  const ProgramResult r = backup.Finish(20s);
  EXPECT_EQ(r.Status, 130);
  const std::vector<std::string> out = Lines(r.Out);
  ASSERT_EQ(out.size(), 4u) << r.Out << r.Err;
  EXPECT_EQ(out[0], "Line " + first.Path() + ":");
  EXPECT_EQ(out[2], "Line " + second.Path() + ":");
  for (const std::string& line : {out[1], out[3]}) {
    EXPECT_TRUE(line.starts_with("module 2: Read All stopped after ") ||
                line.starts_with("module 4: Read All stopped after "))
        << line;
    EXPECT_TRUE(line.ends_with(": nothing was saved")) << line;
  }
  // Nothing half-read is saved, and the folder made for the backups goes again.
  EXPECT_FALSE(std::filesystem::exists(fleet));
}

}  // namespace
}  // namespace brixo::testing
