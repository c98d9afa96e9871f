// brixo-cli with hostile inputs and odd targets: every command that saves refuses a
// read-only file, writes through a link, and no input that is not a regular file of a
// sane size is read.
#include <sys/stat.h>

#include <algorithm>

#include "cli_test_support.h"

namespace brixo::testing {
namespace {

// Runs brixo-cli as an ordinary user (nobody) when the tests run as root, who may write
// any file.
ProgramResult RunCliAsUser(const std::vector<std::string>& args) {
  ScratchFolder scratch;
  chmod((scratch / "").c_str(), 0777);
  const std::string out = scratch / "out";
  const std::string err = scratch / "err";
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(126);
    dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDOUT_FILENO);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(BRIXO_CLI_EXE)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(BRIXO_CLI_EXE, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
}

class CliFileTargetTest : public ::testing::Test {
 protected:
  void SetUp() override { chmod((folder / "").c_str(), 0777); }
  ScratchFolder folder;
  const std::string demo = DataFile("demo.dat");
};

TEST_F(CliFileTargetTest, EveryCommandThatSavesRefusesAReadOnlyFile) {
  const std::vector<std::vector<std::string>> commands = {
      {"convert", demo, "@"},
      {"--simulate", "--sim-load", demo, "read-all", "@"},
      {"--simulate", "--sim-load", demo, "read-all", "@", "--compact"},
      {"--simulate", "--sim-load", demo, "read-pin", "3", "@"},
      {"--simulate", "--sim-load", demo, "read-events", "@"},
      {"program", demo, "1", "0", "--svg", "@"},
  };
  for (const bool throughLink : {false, true}) {
    for (std::vector<std::string> args : commands) {
      const std::string target = folder / "ro.dat";
      std::filesystem::remove(target);
      std::filesystem::remove(folder / "link.dat");
      WriteText(target, ReadText(demo));
      chmod(target.c_str(), 0444);
      std::string named = target;
      if (throughLink) {
        std::filesystem::create_symlink("ro.dat", folder / "link.dat");
        named = folder / "link.dat";
      }
      std::replace(args.begin(), args.end(), std::string("@"), named);
      SCOPED_TRACE(args[args.size() > 3 ? 3 : 0] + (throughLink ? " through a link" : ""));
      const ProgramResult r = RunCliAsUser(args);
      // A checkout in a folder only root may enter cannot be run as another user.
      if (r.Status == 127 || r.Status == 126) GTEST_SKIP() << "brixo-cli cannot run as an ordinary user here";
      EXPECT_EQ(r.Status, 2);
      EXPECT_EQ(Lines(r.Err).back(), "Could not save " + named + ": Permission denied");
      EXPECT_EQ(ReadText(target), ReadText(demo));
    }
  }
}

TEST_F(CliFileTargetTest, SavingThroughALinkKeepsTheLink) {
  std::filesystem::create_directory(folder / "store");
  const std::string stored = folder / "store/layout.dat";
  WriteText(stored, "old");
  std::filesystem::create_symlink(stored, folder / "current.dat");
  const ProgramResult r = RunCli({"--simulate", "--sim-load", demo, "read-all", folder / "current.dat"});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "current.dat"));
  EXPECT_TRUE(ReadText(stored).starts_with("\"BrixoConfiguration 3100\""));
}

TEST_F(CliFileTargetTest, InputsThatAreNoRegularFilesOfASaneSizeAreRefused) {
  mkfifo((folder / "fifo").c_str(), 0600);
  std::filesystem::create_directory(folder / "dir");
  WriteText(folder / "big.dat", std::string(17 * 1024 * 1024, ' '));
  const struct {
    std::string Input;
    std::string Reason;
  } cases[] = {
      {folder / "fifo", "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {folder / "dir", "Is a directory"},
      {folder / "big.dat", "file too large (over 16 MB)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Input);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"convert", c.Input, folder / "out.dat"},
          std::vector<std::string>{"--simulate", "write-all", c.Input}}) {
      const ProgramResult r = RunCli(args);
      EXPECT_EQ(r.Status, 2);
      EXPECT_EQ(Lines(r.Err), std::vector<std::string>{"Could not open " + c.Input + ": " + c.Reason});
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.dat"));
  }
}

TEST_F(CliFileTargetTest, ABrokenQuoteIsAnInvalidFile) {
  std::string text = ReadText(demo);
  const size_t open = text.find('"', text.find("Asp,"));
  text.erase(text.find('"', open + 1), 1);
  WriteText(folder / "broken.dat", text);
  const ProgramResult r = RunCli({"convert", folder / "broken.dat", folder / "out.dat"});
  EXPECT_EQ(r.Status, 2);
  const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(open), '\n');
  EXPECT_EQ(Lines(r.Err), (std::vector<std::string>{"Invalid configuration file",
                                                    "broken.dat, line " + std::to_string(line) +
                                                        ": a text whose closing quote is missing"}));
  EXPECT_FALSE(std::filesystem::exists(folder / "out.dat"));
}

// backup checks its folder before it touches the line: a folder that cannot take the
// backups ends it at once (the port named here does not exist, so reaching it would say so).
TEST_F(CliFileTargetTest, BackupRefusesAFolderThatCannotTakeFilesBeforeReadingAnything) {
  WriteText(folder / "plain", "a file");
  std::filesystem::create_directory(folder / "locked");
  chmod((folder / "locked").c_str(), 0555);
  const std::string nothingRead = ". No controller was read.";
  const struct {
    std::string Folder;
    bool AsUser;  // root may write anywhere
    std::string Said;
  } cases[] = {
      {folder / "plain", false, folder / "plain" + " is a file, not a folder"},
      {folder / "plain/fleet", false, "cannot make the folder " + folder / "plain/fleet" + ": " + folder / "plain" + " is a file"},
      {folder / "locked", true, "cannot save files in " + folder / "locked" + ": Permission denied"},
      {folder / "locked/fleet", true, "cannot make the folder " + folder / "locked/fleet" + ": Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Folder);
    for (const bool severalLines : {false, true}) {
      std::vector<std::string> args{"--port", "/dev/brixo-none", "backup", c.Folder};
      if (severalLines) args.insert(args.begin(), {"--port", "/dev/brixo-none-2"});
      const ProgramResult r = c.AsUser ? RunCliAsUser(args) : RunCli(args);
      if (r.Status == 127 || r.Status == 126) GTEST_SKIP() << "brixo-cli cannot run as an ordinary user here";
      EXPECT_EQ(r.Status, 2);
      EXPECT_EQ(Lines(r.Err), std::vector<std::string>{"brixo-cli: " + c.Said + nothingRead});
    }
  }
  EXPECT_EQ(ReadText(folder / "plain"), "a file");
  EXPECT_FALSE(std::filesystem::exists(folder / "locked/fleet"));
}

}  // namespace
}  // namespace brixo::testing
