// brixo-cli against brixo-sim faults on a pseudo-terminal: a device killed or gone under
// the monitor, lost, late and garbled replies during whole-controller operations. Each
// run must end at once with one message per failure, say how far it got, exit 1, and
// leave an old backup as it was.
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "cli_test_support.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

using Seconds = std::chrono::duration<double>;

constexpr const char* kNoResponse = "No response received, resetting bidirectional communication";

std::string Gone(const std::string& device) {
  return "Communications port " + device + " went away (device unplugged or closed)";
}

// brixo-cli started in the background, so that something can happen to its line meanwhile.
class BackgroundCli {
 public:
  explicit BackgroundCli(const std::vector<std::string>& args) {
    out_ = folder_ / "out";
    err_ = folder_ / "err";
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
  ~BackgroundCli() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  // Waits until standard output holds the text, at most the time given.
  bool WaitForOutput(const std::string& text, double timeoutSeconds) const {
    const auto end = std::chrono::steady_clock::now() + Seconds(timeoutSeconds);
    while (ReadText(out_).find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
  // Waits for the end, at most the time given; the status is -1 when it had to be killed.
  ProgramResult Finish(double timeoutSeconds) {
    ProgramResult result;
    const auto end = std::chrono::steady_clock::now() + Seconds(timeoutSeconds);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        status = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    result.Status = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = ReadText(out_);
    result.Err = ReadText(err_);
    return result;
  }

 private:
  ScratchFolder folder_;
  std::string out_;
  std::string err_;
  pid_t pid_ = -1;
};

// Lines of a --log file that are frames to the controller: "> " directly, ">> " host
// frames whose data starts with 0 (the host's own queries start with 1).
int FramesSent(const std::string& log) {
  const std::vector<std::string> lines = Lines(log);
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.starts_with("> ") || (l.starts_with(">> ") && l.size() > 14 && l.compare(8, 6, " [00] ") == 0);
  }));
}

// The times below are bounds no busy machine reaches, far below what the fault they guard
// against would cost (the 2-second reply window per exchange, or a monitor that never ends).
TEST(CliFaults, MonitorEndsAtOnceWhenTheSimulatorIsKilled) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim));
  const std::string device = sim.Path();
  BackgroundCli monitor({"--port", device, "monitor"});
  ASSERT_TRUE(monitor.WaitForOutput("<0> <0> <0> <0> \n", 30)) << "the monitor polls";
  const auto killed = std::chrono::steady_clock::now();
  sim.Kill();
  const ProgramResult r = monitor.Finish(60);
  EXPECT_LT(SecondsSince(killed), 20.0) << "not a monitor that runs on";
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Lines(r.Err), std::vector<std::string>{Gone(device)}) << "said once, and what happened";
  const std::vector<std::string> out = Lines(r.Out);
  ASSERT_GE(out.size(), 3u);
  EXPECT_EQ(out.front(), "Start Monitoring");
  EXPECT_EQ(out[1], "<0> <0> <0> <0> ");
  EXPECT_EQ(out.back(), "Monitoring Stopped");
}

// A controller that stops answering polls: the monitor says so once and ends.
struct MonitorFault {
  const char* Name;
  std::vector<std::string> SimOptions;
  std::vector<std::string> CliOptions;
  std::string Message;  // empty: the device-gone message
};

class CliMonitorFaultTest : public ::testing::TestWithParam<MonitorFault> {};

TEST_P(CliMonitorFaultTest, EndsAtTheFirstFailedPoll) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, GetParam().SimOptions));
  std::vector<std::string> args{"--port", sim.Path()};
  args.insert(args.end(), GetParam().CliOptions.begin(), GetParam().CliOptions.end());
  args.insert(args.end(), {"monitor", "--seconds", "60"});
  const auto start = std::chrono::steady_clock::now();
  const ProgramResult r = RunCli(args);
  EXPECT_LT(SecondsSince(start), 30.0) << "not the monitor's whole minute";
  EXPECT_EQ(r.Status, 1);
  const std::string message = GetParam().Message.empty() ? Gone(sim.Path()) : GetParam().Message;
  EXPECT_EQ(Lines(r.Err), std::vector<std::string>{message});
  EXPECT_EQ(Lines(r.Out), (std::vector<std::string>{"Start Monitoring", "<0> <0> <0> <0> ", "<0> <0> <0> <0> ",
                                                    "Monitoring Stopped"}));
}

INSTANTIATE_TEST_SUITE_P(
    Polls, CliMonitorFaultTest,
    ::testing::Values(MonitorFault{"silent", {"--fail-after", "2"}, {}, kNoResponse},
                      MonitorFault{"gone", {"--gone-after", "2"}, {}, ""},
                      MonitorFault{"tunnelled_silent", {"--host", "--fail-after", "2"}, {"--tunnel"},
                                   "No valid response received"},
                      MonitorFault{"tunnelled_gone", {"--host", "--gone-after", "2"}, {"--tunnel"}, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CliFaults, TunnelledMonitorCollectsItsAnswers) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--host"}));
  const auto start = std::chrono::steady_clock::now();
  const ProgramResult r = RunCli({"--port", sim.Path(), "--tunnel", "monitor", "--count", "10"});
  EXPECT_LT(SecondsSince(start), 15.0) << "not a reply window per poll";
  EXPECT_EQ(r.Status, 0) << r.Err;
  std::vector<std::string> expected(10, "<0> <0> <0> <0> ");
  expected.insert(expected.begin(), "Start Monitoring");
  expected.push_back("Monitoring Stopped");
  EXPECT_EQ(Lines(r.Out), expected);
}

// A fault that strikes the 41st frame of a whole-controller operation, directly or through
// an interface unit: a write's lost reply fails as a read's does.
struct OperationFault {
  const char* Name;
  std::vector<std::string> SimOptions;
  std::string Message;  // empty: the device-gone message
  std::vector<std::string> CliOptions = {};
};

constexpr const char* kNoValidResponse = "No valid response received";

const OperationFault kOperationFaults[] = {
    {"lost frame", {"--lose-frame", "40"}, kNoResponse},
    {"controller silent", {"--fail-after", "40"}, kNoResponse},
    {"device gone", {"--gone-after", "40"}, ""},
    {"tunnelled lost frame", {"--host", "--lose-frame", "40"}, kNoValidResponse, {"--tunnel"}},
    {"tunnelled controller silent", {"--host", "--fail-after", "40"}, kNoValidResponse, {"--tunnel"}},
    {"tunnelled device gone", {"--host", "--gone-after", "40"}, "", {"--tunnel"}},
};

class CliOperationFaultTest : public ::testing::TestWithParam<OperationFault> {
 protected:
  std::string Expected(const SimProcess& sim) const {
    return GetParam().Message.empty() ? Gone(sim.Path()) : GetParam().Message;
  }
  ScratchFolder folder;
};

TEST_P(CliOperationFaultTest, WriteAllEndsAtTheFailureAndSaysHowFarItGot) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, GetParam().SimOptions));
  const std::string log = folder / "log";
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::string> args{"--port", sim.Path(), "--log", log};
  args.insert(args.end(), GetParam().CliOptions.begin(), GetParam().CliOptions.end());
  args.insert(args.end(), {"write-all", DataFile("demo.dat")});
  const ProgramResult r = RunCli(args);
  EXPECT_LT(SecondsSince(start), 30.0) << "not 48 s of frames nobody answers";
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{Expected(sim),
                                                    "Write All stopped after the general settings: the controller now "
                                                    "holds a mix of old and new settings \u2014 write again to finish"}));
  EXPECT_EQ(FramesSent(ReadText(log)), 41) << "nothing is sent after the frame that failed";
}

TEST_P(CliOperationFaultTest, ReadAllLeavesTheOldBackupAsItWas) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, GetParam().SimOptions));
  const std::string backup = folder / "backup.dat";
  WriteText(backup, ReadText(DataFile("demo.dat")));
  const std::string before = ReadText(backup);
  std::vector<std::string> args{"--port", sim.Path()};
  args.insert(args.end(), GetParam().CliOptions.begin(), GetParam().CliOptions.end());
  args.insert(args.end(), {"read-all", backup});
  const ProgramResult r = RunCli(args);
  EXPECT_EQ(r.Status, 1);
  const std::vector<std::string> err = Lines(r.Err);
  ASSERT_EQ(err.size(), 2u) << r.Err;
  EXPECT_EQ(err[0], Expected(sim));
  EXPECT_TRUE(err[1].starts_with("Read All stopped after pin ")) << err[1];
  EXPECT_TRUE(err[1].ends_with(" of 32: nothing was saved")) << err[1];
  EXPECT_EQ(ReadText(backup), before);
  EXPECT_FALSE(std::filesystem::exists(backup + ".saving.tmp"));
}

INSTANTIATE_TEST_SUITE_P(Faults, CliOperationFaultTest, ::testing::ValuesIn(kOperationFaults), CaseName());

// Every command that writes, through an interface unit with no controller at the module:
// it fails with the message and status a read gets, and says how far it got.
struct SilentWrite {
  const char* Name;
  std::vector<std::string> Args;
  std::vector<std::string> Err;
};

class CliTunnelledWriteTest : public ::testing::TestWithParam<SilentWrite> {};

TEST_P(CliTunnelledWriteTest, FailsWhenNoControllerAnswers) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--host"}));
  std::vector<std::string> args{"--port", sim.Path(), "--tunnel", "--module", "5"};
  args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
  const ProgramResult r = RunCli(args);
  EXPECT_EQ(r.Status, 1);
  // The interface unit answered; the module behind it did not.
  std::vector<std::string> err{kNoValidResponse,
                               "No answer from module 5 through the Quendal interface \u2014 check --module and the "
                               "module's cable to the interface, or use brixo-cli scan"};
  err.insert(err.end(), GetParam().Err.begin(), GetParam().Err.end());
  EXPECT_EQ(Lines(r.Err), err);
}

const std::string kMix = ": the controller now holds a mix of old and new settings \u2014 write again to finish";

INSTANTIATE_TEST_SUITE_P(
    Commands, CliTunnelledWriteTest,
    ::testing::Values(SilentWrite{"write_all", {"write-all", DataFile("demo.dat")}, {"Write All stopped at its first step" + kMix}},
                      SilentWrite{"write_pin", {"write-pin", "3", DataFile("demo.dat")}, {"Write Pin stopped at its first step" + kMix}},
                      SilentWrite{"write_events", {"write-events", DataFile("demo.dat")},
                                  {"Write All Events stopped at its first step" + kMix}},
                      SilentWrite{"write_id", {"write-id", "Yard"}, {}},
                      SilentWrite{"aspect", {"aspect", "3", "1"}, {}},
                      SilentWrite{"servo", {"servo", "3", "10"}, {}}),
    CaseName());

TEST(CliFaults, ALateReplyLeavesTheOldBackupAsItWas) {
  ScratchFolder folder;
  const std::string backup = folder / "backup.dat";
  WriteText(backup, ReadText(DataFile("demo.dat")));
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--delay", "6"}));  // well past the 2-second window, however busy
  const ProgramResult r = RunCli({"--port", sim.Path(), "read-all", backup});
  EXPECT_EQ(r.Status, 1);
  // Nothing answered in time: what to try follows.
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{kNoResponse,
                                                    "No answer from module 1 at 19200 bit/s \u2014 check --module, the "
                                                    "bit rate (--baud) and the cable, or use brixo-cli scan",
                                                    "Read All stopped at its first step: nothing was saved"}));
  EXPECT_EQ(ReadText(backup), ReadText(DataFile("demo.dat")));
}

TEST(CliFaults, AFailureAtTheVeryLastExchangeStillSavesNothing) {
  // The last exchange of "Read All" (the initial enable map) decides nothing about the
  // sequence itself; a reply lost there must still keep the old backup.
  ScratchFolder folder;
  const std::string log = folder / "log";
  const std::string fresh = folder / "fresh.dat";
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim));
  ASSERT_EQ(RunCli({"--port", sim.Path(), "--log", log, "read-all", fresh}).Status, 0);
  const int frames = FramesSent(ReadText(log));
  ASSERT_GT(frames, 100);

  SimProcess lossy;
  ASSERT_TRUE(StartSim(lossy, {"--lose-frame", std::to_string(frames - 1)}));
  const std::string backup = folder / "backup.dat";
  WriteText(backup, "an old backup\r\n");
  const ProgramResult r = RunCli({"--port", lossy.Path(), "read-all", backup});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{
                              kNoResponse, "Read All stopped after Event-Off pin 32 of 32: nothing was saved"}));
  EXPECT_EQ(ReadText(backup), "an old backup\r\n");
}

TEST(CliFaults, GarbledRepliesEndVerifyAllAtOnce) {
  for (const char* fault : {"--wrong-check-byte", "--wrong-alternation-bit"}) {
    SCOPED_TRACE(fault);
    SimProcess sim;
    ASSERT_TRUE(StartSim(sim, {fault}));
    const auto start = std::chrono::steady_clock::now();
    const ProgramResult r = RunCli({"--port", sim.Path(), "verify-all", DataFile("demo.dat")});
    EXPECT_LT(SecondsSince(start), 20.0);
    EXPECT_EQ(r.Status, 1);
    const std::vector<std::string> err = Lines(r.Err);
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.back(), "Verify All stopped at its first step: the comparison is incomplete");
    EXPECT_TRUE(r.Out.find("Verification Stopped") != std::string::npos) << r.Out;
  }
}

}  // namespace
}  // namespace brixo::testing
