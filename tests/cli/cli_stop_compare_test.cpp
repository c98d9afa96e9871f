// brixo-cli diff, write-all --changed-only, and a stop by Ctrl-C or SIGTERM, against
// brixo-sim on a pseudo-terminal.
#include <signal.h>

#include <algorithm>
#include <thread>

#include "app/app_state.h"
#include "app/no_file_chooser.h"
#include "cli/cli_commands.h"
#include "cli_test_support.h"
#include "support/recording_prompt.h"

namespace brixo::testing {
namespace {

// The demo configuration with one field changed, as a data file.
std::string ChangedCopy(const ScratchFolder& folder, const std::string& name, void (*change)(AppState&)) {
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppStateOptions options;
  options.LoadDeviceDefinitions = false;
  options.Scanner = [] { return std::vector<SerialDeviceInfo>{}; };
  AppState app(prompt, chooser, options);
  EXPECT_TRUE(LoadDataFileFrom(app.DataFiles(), DataFile("demo.dat")));
  change(app);
  const std::string path = folder / name;
  EXPECT_TRUE(SaveDataFileTo(app.DataFiles(), path, false));
  return path;
}

class CliCompareTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(StartSim(sim, {"--load", DataFile("demo.dat")})); }

  ProgramResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {std::string("--port"), sim.Path()});
    return RunCli(args);
  }

  SimProcess sim;
  ScratchFolder folder;
};

struct DiffCase {
  const char* Name;
  void (*Change)(AppState&);
  std::vector<std::string> Lines;
};

class DiffTest : public CliCompareTest, public ::testing::WithParamInterface<DiffCase> {};

// One line per changed field, in displayed numbering; writing only what differs makes the
// controller the file, after which nothing differs.
TEST_P(DiffTest, ListsEachChangeThenWriteChangesMakesThemAgree) {
  const std::string file = ChangedCopy(folder, "changed.dat", GetParam().Change);
  const ProgramResult diff = Cli({"diff", file});
  EXPECT_EQ(diff.Status, GetParam().Lines.empty() ? 0 : 1) << diff.Err;
  EXPECT_EQ(Lines(diff.Out), GetParam().Lines);

  // The same file against the controller's own configuration, without a controller (no
  // port given): the same lines, A and B in place of file and controller.
  const ProgramResult files = RunCli({"diff", file, DataFile("demo.dat")});
  EXPECT_EQ(files.Status, diff.Status) << files.Err;
  std::vector<std::string> named;
  for (std::string line : GetParam().Lines) {
    const size_t colon = line.rfind(": file ");
    line.replace(line.find(", controller ", colon), 13, ", B ");
    named.push_back(line.replace(colon, 7, ": A "));
  }
  EXPECT_EQ(Lines(files.Out), named);

  const ProgramResult write = Cli({"write-all", "--changed-only", file});
  EXPECT_EQ(write.Status, 0) << write.Out << write.Err;
  for (const std::string& line : GetParam().Lines)
    EXPECT_NE(write.Out.find("Written: " + line), std::string::npos) << write.Out;
  const ProgramResult after = Cli({"diff", file});
  EXPECT_EQ(after.Status, 0) << after.Out;
  EXPECT_EQ(after.Out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Changes, DiffTest,
    ::testing::Values(
        DiffCase{"Nothing", [](AppState&) {}, {}},
        DiffCase{"IdString",
                 [](AppState& a) { a.General().TextGenIDString = "Yard 7"; },
                 {"ID String: file <Yard 7>, controller <Demo Layout>"}},
        DiffCase{"StepAndEvent",
                 [](AppState& a) {
                   a.Model().PinTable[0].Aspects[0].Steps[0].Par3 = 17;
                   a.Events().OffAction[20][3] = 4;
                 },
                 {"event pin 21 input 3 OFF: file 4, controller -1", "pin 1 aspect 0 step 0 Parameter 3: file 17, controller 0"}}),
    [](const auto& info) { return std::string(info.param.Name); });

// A controller without event control: diff lists what differs in the other parts and
// says which part it could not compare, instead of passing over it in silence.
TEST(CliDiffTest, SaysWhichPartWasNotCompared) {
  SimProcess sim;
  ASSERT_TRUE(StartSim(sim, {"--no-events", "--load", DataFile("demo.dat")}));
  ScratchFolder folder;
  const std::string file = ChangedCopy(folder, "changed.dat", [](AppState& a) {
    a.Model().PinTable[0].Aspects[0].Steps[0].Par3 = 17;
  });
  const ProgramResult r = RunCli({"--port", sim.Path(), "diff", file});
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(Lines(r.Out), std::vector<std::string>{"pin 1 aspect 0 step 0 Parameter 3: file 17, controller 0"});
  EXPECT_EQ(Lines(r.Err), std::vector<std::string>{"event control: not compared, the controller does not support it"});
}

TEST_F(CliCompareTest, UsageAndUnreadableFilesAreStatusTwo) {
  EXPECT_EQ(Cli({"diff"}).Status, 2);
  EXPECT_EQ(Cli({"diff", folder / "missing.dat"}).Status, 2);
  for (const auto& files : {std::pair{folder / "missing.dat", DataFile("demo.dat")},
                            std::pair{DataFile("demo.dat"), folder / "missing.dat"}}) {
    const ProgramResult r = RunCli({"diff", files.first, files.second});
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("missing.dat"), std::string::npos) << r.Err;
  }
  EXPECT_EQ(RunCli({"diff", "a.dat", "b.dat", "c.dat"}).Status, 2);
  EXPECT_EQ(Cli({"verify-all", "--changed-only", DataFile("demo.dat")}).Status, 2);
}

// A command started in the background, with its log going to a file so that the test sees
// when the exchanges have begun.
class Background {
 public:
  Background(const std::vector<std::string>& args, const std::string& err) {
    pid_ = fork();
    if (pid_ == 0) {
      dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
      dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
      dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
      std::vector<char*> argv{const_cast<char*>(BRIXO_CLI_EXE)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(BRIXO_CLI_EXE, argv.data());
      _exit(127);
    }
  }
  // The exit status, or -1 when a signal ended it.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Signal(int signal) { kill(pid_, signal); }

 private:
  pid_t pid_ = -1;
};

// Waits until the log holds `frames` frames sent ("> " lines), at most the time given.
bool WaitForFrames(const std::string& log, long frames, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  while (SecondsSince(start) < seconds) {
    const std::vector<std::string> lines = Lines(ReadText(log));
    if (std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("> "); }) >= frames)
      return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

struct SignalCase {
  const char* Name;
  int Signal;
  const char* Command;
  const char* Said;  // how the sentence on standard error begins and ends
  const char* Consequence;
};

class CliSignalTest : public ::testing::TestWithParam<SignalCase> {};

// The operation stops after the exchange in flight, says how far it got, saves nothing and
// ends with status 130.
TEST_P(CliSignalTest, StopsInOrder) {
  const SignalCase& c = GetParam();
  SimProcess sim;
  // At the line's real speed Read All takes seconds: there is time to stop it half-way.
  ASSERT_TRUE(StartSim(sim, {"--pace", "--load", DataFile("demo.dat")}));
  ScratchFolder folder;
  const std::string log = folder / "log";
  const std::string out = folder / "out.dat";
  const std::string err = folder / "err";
  const std::string file = std::string(c.Command) == "read-all" ? out : DataFile("demo.dat");
  Background cli({"--port", sim.Path(), "--log", log, c.Command, file}, err);
  // Past its first steps (the general settings take a few dozen frames), however long the
  // machine took to get there: the paced line leaves seconds of frames after them.
  ASSERT_TRUE(WaitForFrames(log, 60, 60.0));
  cli.Signal(c.Signal);
  EXPECT_EQ(cli.Wait(), 130);
  const std::string said = ReadText(err);
  EXPECT_NE(said.find(c.Said), std::string::npos) << said;
  EXPECT_NE(said.find(c.Consequence), std::string::npos) << said;
  EXPECT_FALSE(std::filesystem::exists(out));
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
    EXPECT_EQ(entry.path().string().find(".saving.tmp"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CliSignalTest,
    ::testing::Values(SignalCase{"InterruptRead", SIGINT, "read-all", "Read All stopped after ", ": nothing was saved"},
                      SignalCase{"TerminateWrite", SIGTERM, "write-all", "Write All stopped after ",
                                 ": the controller now holds a mix of old and new settings"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Ctrl-C during convert: a stop that came while the file was read or written leaves OUT as
// it was and says so (status 130); without one OUT is replaced.
TEST(CliConvertStopTest, AStopBeforeTheRenameLeavesTheTargetAsItWas) {
  ScratchFolder folder;
  const std::string out = folder / "out.dat";
  for (const bool stopped : {true, false}) {
    SCOPED_TRACE(stopped ? "stopped" : "not stopped");
    WriteText(out, "previous");
    CliOptions options;
    options.Command = "convert";
    options.Arguments = {DataFile("demo.dat"), out};
    StatusLine status(false);
    TerminalPrompt prompt(status, false, false);
    NoFileChooser chooser;
    AppStateOptions appOptions;
    appOptions.LoadDeviceDefinitions = false;
    appOptions.Scanner = [] { return std::vector<SerialDeviceInfo>{}; };
    AppState app(prompt, chooser, appOptions);
    CliSession session{options, app, prompt, status, ""};
    if (stopped) app.Link().Cancellation().Trip(StopReason::Interrupted);
    ::testing::internal::CaptureStderr();
    const int result = RunConvert(session);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (stopped) {
      EXPECT_EQ(result, kExitInterrupted);
      EXPECT_EQ(said, "Stopped: " + out + " was left as it was.\n");
      EXPECT_EQ(ReadText(out), "previous");
      EXPECT_FALSE(session.Completed);
    } else {
      EXPECT_EQ(result, kExitOk);
      EXPECT_EQ(said, "");
      EXPECT_EQ(ReadText(out).rfind("\"BrixoConfiguration 3100\"", 0), 0u);
      EXPECT_TRUE(session.Completed);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "no temporary file left";
  }
}

}  // namespace
}  // namespace brixo::testing
