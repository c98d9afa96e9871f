// Hostile files and odd targets: broken quotes in data and definitions files, inputs that
// are no regular files or far too large, and saves onto links, read-only files, devices
// and folders.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "files/file_io.h"
#include "link/text_encoding.h"
#include "files_test_support.h"
#include "support/case_name.h"

namespace brixo::testing {
namespace {

namespace fs = std::filesystem;

std::string Shipped(const char* name) { return ReadAll(fs::path(BRIXO_TEST_DATA_DIR) / name); }

// The position of the closing quote of the first text that follows `after`.
size_t ClosingQuote(const std::string& text, const std::string& after) {
  const size_t open = text.find('"', text.find(after));
  return text.find('"', open + 1);
}

std::string WithoutClosingQuote(const std::string& text, const std::string& after) {
  const size_t close = ClosingQuote(text, after);
  return text.substr(0, close) + text.substr(close + 1);
}

struct QuoteDamage {
  const char* Name;
  std::function<std::string(const std::string&)> Damage;
};

// Every way a text's quotes can be broken, applied to a data file and a definitions file.
const QuoteDamage kQuoteDamage[] = {
    {"closing quote of an aspect text removed", [](const std::string& t) { return WithoutClosingQuote(t, "Asp,"); }},
    {"closing quote of a pin text removed", [](const std::string& t) { return WithoutClosingQuote(t, "Pin,"); }},
    {"quote inside a text", [](const std::string& t) { return Replace(t, "Asp,0,\"", "Asp,0,\"A r\"ed"); }},
    {"text behind the closing quote",
     [](const std::string& t) { return std::string(t).insert(ClosingQuote(t, "Asp,") + 1, "x"); }},
    {"quote in an unquoted field", [](const std::string& t) { return Replace(t, "Ins,0,", "Ins,0\","); }},
    {"text broken over two lines", [](const std::string& t) { return Replace(t, "Asp,0,\"", "Asp,0,\"line\r\n"); }},
};

class QuoteDamageTest : public FilesTest, public ::testing::WithParamInterface<QuoteDamage> {};

TEST_P(QuoteDamageTest, ADataFileIsRefusedAndChangesNothing) {
  const std::string damaged = GetParam().Damage(Shipped("demo.dat"));
  ASSERT_NE(damaged, Shipped("demo.dat"));
  WriteAll(PathOf("damaged.dat"), damaged);
  bool quotes;
  const std::string before = ComposeDataFile(model, general, events, false, quotes);
  EXPECT_FALSE(LoadDataFileFrom(data, PathOf("damaged.dat")));
  ASSERT_EQ(prompt.Messages.size(), 1u);
  EXPECT_EQ(prompt.Messages[0].rfind("Invalid configuration file\ndamaged.dat, line ", 0), 0u) << prompt.Messages[0];
  EXPECT_EQ(ComposeDataFile(model, general, events, false, quotes), before);
}

TEST_P(QuoteDamageTest, ADefinitionsFileIsRefused) {
  const std::string shipped = Shipped("BrixoDevices.def");
  const std::string damaged = GetParam().Damage(shipped);
  ASSERT_NE(damaged, shipped);
  WriteAll(PathOf("sound.def"), shipped);
  WriteAll(PathOf("damaged.def"), damaged);
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, PathOf("sound.def"), false));
  const std::vector<std::string> listed = library.cboDevice;
  ASSERT_FALSE(listed.empty());

  EXPECT_FALSE(ReloadDefinitionsFrom(devices, PathOf("damaged.def"), true));
  ASSERT_EQ(prompt.Messages.size(), 1u);
  EXPECT_EQ(prompt.Messages[0].rfind("Invalid definition file\ndamaged.def, line ", 0), 0u) << prompt.Messages[0];
  EXPECT_EQ(library.cboDevice, listed);

  // A device found behind the damage is refused when it is loaded, and no pin changes.
  prompt.Clear();
  const ConfigModel before = model;
  EXPECT_FALSE(LoadDeviceText(devices, damaged, listed.back()));
  ASSERT_EQ(prompt.Messages.size(), 1u);
  EXPECT_EQ(prompt.Messages[0].rfind("Invalid definition file\nline ", 0), 0u) << prompt.Messages[0];
  EXPECT_EQ(model.PinTable, before.PinTable);
}

INSTANTIATE_TEST_SUITE_P(Damage, QuoteDamageTest, ::testing::ValuesIn(kQuoteDamage), CaseName());

TEST_F(FilesTest, EveryFileTheProgramWritesLoadsAgain) {
  // The shipped files, and saves of texts holding every character a user or a controller
  // can put there, quotes and line breaks included.
  ASSERT_TRUE(LoadDataFileFrom(data, (fs::path(BRIXO_TEST_DATA_DIR) / "demo.dat").string()));
  ASSERT_TRUE(ReloadDefinitionsFrom(devices, (fs::path(BRIXO_TEST_DATA_DIR) / "BrixoDevices.def").string(), false));
  std::string bytes;
  for (int c = 1; c < 256; ++c) bytes += static_cast<char>(c);
  const std::string every = Utf8FromLatin1(bytes);  // every character the file can hold
  general.TextGenIDString = "ID \"with\"\r\nbreak";
  model.PinTable[4].Description = every;
  model.PinTable[4].Aspects[0].Description = "a,b \"c\"";
  model.PinTable[4].AspectConfig = 3;
  for (bool compact : {false, true}) {
    SCOPED_TRACE(compact ? "compact" : "normal");
    prompt.Clear();
    ASSERT_TRUE(SaveDataFileTo(data, PathOf("all.dat"), compact));
    ConfigModel loadedModel;
    GeneralSettings loadedGeneral;
    EventControlState loadedEvents;
    DataFileContext loaded{loadedModel, loadedGeneral, loadedEvents, prompt, chooser, view};
    ASSERT_TRUE(LoadDataFileFrom(loaded, PathOf("all.dat"))) << Messages();
    EXPECT_EQ(loadedGeneral.TextGenIDString, "ID 'with'  break");
    std::string expected = bytes;
    for (char& c : expected) c = c == '"' ? '\'' : (c == '\r' || c == '\n') ? ' ' : c;
    EXPECT_EQ(loadedModel.PinTable[4].Description, Utf8FromLatin1(expected));
    EXPECT_EQ(loadedModel.PinTable[4].Aspects[0].Description, "a,b 'c'");
  }
}

// What reading a path gives: the error, or empty for a file that was read.
struct ReadTarget {
  const char* Name;
  std::function<std::string(const fs::path& folder)> Make;  // returns the path to read
  const char* Error;
};

const ReadTarget kReadTargets[] = {
    {"regular file", [](const fs::path& d) { WriteAll(d / "f", "text"); return (d / "f").string(); }, ""},
    {"link to a regular file",
     [](const fs::path& d) {
       WriteAll(d / "f", "text");
       fs::create_symlink(d / "f", d / "l");
       return (d / "l").string();
     },
     ""},
    {"exactly the largest size",
     [](const fs::path& d) {
       WriteAll(d / "f", std::string(kMaxFileBytes, ' '));
       return (d / "f").string();
     },
     ""},
    {"one byte more", [](const fs::path& d) {
       WriteAll(d / "f", std::string(kMaxFileBytes + 1, ' '));
       return (d / "f").string();
     },
     "file too large (over 16 MB)"},
    {"FIFO without a writer", [](const fs::path& d) {
       mkfifo((d / "p").c_str(), 0600);
       return (d / "p").string();
     },
     "not a regular file"},
    {"endless device", [](const fs::path&) { return std::string("/dev/zero"); }, "not a regular file"},
    {"folder", [](const fs::path& d) { return d.string(); }, "Is a directory"},
    {"missing file", [](const fs::path& d) { return (d / "none").string(); }, "No such file or directory"},
};

class ReadTargetTest : public FilesTest, public ::testing::WithParamInterface<ReadTarget> {};

TEST_P(ReadTargetTest, ReadsOnlyRegularFilesOfASaneSize) {
  const std::string path = GetParam().Make(dir_);
  std::string text = "untouched";
  std::string error;
  const bool read = ReadFileText(path, text, error);
  EXPECT_EQ(read, std::string(GetParam().Error).empty());
  EXPECT_EQ(error, GetParam().Error);
  if (!read) {
    // A data file load says why and changes nothing.
    EXPECT_FALSE(LoadDataFileFrom(data, path));
    EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Could not open " + path + ": " + GetParam().Error});
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, ReadTargetTest, ::testing::ValuesIn(kReadTargets), CaseName());

TEST_F(FilesTest, ALargeFileLoadsWithinASmallMultipleOfItsSize) {
  // Near the largest size, made of valid pin groups; the load must not hold a record list
  // several times the size of the text.
  bool quotes;
  const std::string normal = ComposeDataFile(model, general, events, false, quotes);
  const size_t first = normal.find("Pin,");
  const size_t end = normal.find("End");
  const std::string groups = normal.substr(first, end - first);
  std::string big = normal.substr(0, first);
  while (big.size() + groups.size() < kMaxFileBytes - 16) big += groups;
  big += "End\r\n";
  const std::string path = PathOf("big.dat");
  WriteAll(path, big);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // In a child, so that what the rest of the tests allocated does not count.
    struct rusage before {};
    getrusage(RUSAGE_SELF, &before);
    const bool loaded = LoadDataFileFrom(data, path);
    struct rusage after {};
    getrusage(RUSAGE_SELF, &after);
    const long grownKb = after.ru_maxrss - before.ru_maxrss;
    _exit(!loaded ? 2 : grownKb > 3 * static_cast<long>(kMaxFileBytes / 1024) ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: more than three times the file, 2: not loaded";
#else
  EXPECT_NE(WEXITSTATUS(status), 2) << "not loaded";  // the sanitizer's shadow memory counts too
#endif
}

// A save onto an existing target of some kind: whether it is replaced, and what stays.
struct SaveTarget {
  const char* Name;
  std::function<std::string(const fs::path& folder)> Make;  // returns the path saved to
  const char* Error;                                       // empty: the save succeeds
};

const SaveTarget kSaveTargets[] = {
    {"new file", [](const fs::path& d) { return (d / "new.dat").string(); }, ""},
    {"regular file", [](const fs::path& d) { WriteAll(d / "f.dat", "old"); return (d / "f.dat").string(); }, ""},
    {"link to a file",
     [](const fs::path& d) {
       WriteAll(d / "f.dat", "old");
       fs::create_symlink("f.dat", d / "l.dat");
       return (d / "l.dat").string();
     },
     ""},
    {"link to a link in another folder",
     [](const fs::path& d) {
       fs::create_directory(d / "sub");
       WriteAll(d / "sub" / "f.dat", "old");
       fs::create_symlink("f.dat", d / "sub" / "l1.dat");
       fs::create_symlink(d / "sub" / "l1.dat", d / "l2.dat");
       return (d / "l2.dat").string();
     },
     ""},
    {"dangling link", [](const fs::path& d) { fs::create_symlink("made.dat", d / "l.dat"); return (d / "l.dat").string(); },
     ""},
    {"link loop",
     [](const fs::path& d) {
       fs::create_symlink("b", d / "a");
       fs::create_symlink("a", d / "b");
       return (d / "a").string();
     },
     "Too many levels of symbolic links"},
    {"folder", [](const fs::path& d) { fs::create_directory(d / "f"); return (d / "f").string(); }, "Is a directory"},
    {"FIFO", [](const fs::path& d) { mkfifo((d / "p").c_str(), 0600); return (d / "p").string(); }, "not a regular file"},
    {"device", [](const fs::path&) { return std::string("/dev/null"); }, "not a regular file"},
};

class SaveTargetTest : public FilesTest, public ::testing::WithParamInterface<SaveTarget> {};

TEST_P(SaveTargetTest, ReplacesOnlyWhatItShould) {
  const std::string path = GetParam().Make(dir_);
  struct stat before {};
  const bool existed = lstat(path.c_str(), &before) == 0;
  std::error_code ec;
  const std::string resolved = existed && S_ISLNK(before.st_mode) ? fs::weakly_canonical(path, ec).string() : path;
  std::string error;
  const bool saved = ReplaceFileText(path, "new contents", error);
  EXPECT_EQ(saved, std::string(GetParam().Error).empty()) << error;
  EXPECT_EQ(error, saved ? "" : GetParam().Error);

  struct stat after {};
  ASSERT_EQ(lstat(path.c_str(), &after) == 0, existed || saved);
  if (existed) {
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << "a link stays a link, a FIFO a FIFO";
  }
  if (saved) {
    EXPECT_EQ(ReadAll(path), "new contents");
  }
  if (saved && S_ISLNK(before.st_mode)) {
    EXPECT_EQ(ReadAll(resolved), "new contents") << "written through to the file the link names";
  }
  for (const auto& entry : fs::recursive_directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().string().find(".saving.tmp"), std::string::npos) << entry.path();
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveTargetTest, ::testing::ValuesIn(kSaveTargets), CaseName());

// The new file takes the old one's place with its owner, group and permissions (only root
// may give a file away: an ordinary user keeps at least the permissions); a hard link
// keeps the old contents, as the README says.
TEST_F(FilesTest, ASaveKeepsTheReplacedFilesOwnerAndPermissionsAndPartsHardLinks) {
  const std::string path = PathOf("kept.dat");
  WriteAll(path, "old");
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  }
  chmod(path.c_str(), 0640);
  ASSERT_EQ(link(path.c_str(), PathOf("hard.dat").c_str()), 0);
  std::string error;
  ASSERT_TRUE(ReplaceFileText(path, "new", error)) << error;
  struct stat info {};
  stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(ReadAll(PathOf("hard.dat")), "old");
}

std::vector<std::string> TemporaryFilesIn(const fs::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".saving.tmp") != std::string::npos && name != "keep.dat.saving.tmp") found.push_back(name);
  }
  return found;
}

// What may happen between the new contents being complete and the rename: each save ends
// as it says, the previous file stays whole unless the save says it was replaced, and no
// temporary file is left.
struct BeforeRename {
  const char* Name;
  // Runs just before the rename; true asks the save to stop there.
  std::function<bool(const std::string& target)> Meanwhile;
  SaveOutcome Outcome;
  const char* Error;
  const char* Contents;  // of the target afterwards; empty: it is a folder now
};

const BeforeRename kBeforeRename[] = {
    {"Nothing", [](const std::string&) { return false; }, SaveOutcome::Saved, "", "new"},
    {"StopAsked", [](const std::string&) { return true; }, SaveOutcome::Stopped, "", "old"},
    // The rename itself fails, even for root: the save must not say it saved.
    {"TargetBecameAFolder",
     [](const std::string& target) {
       fs::remove(target);
       fs::create_directory(target);
       return false;
     },
     SaveOutcome::Failed, "Is a directory", ""},
    // Another save to the same file in the meantime has a temporary file of its own.
    {"AnotherSaveCameFirst",
     [](const std::string& target) {
       std::string error;
       EXPECT_TRUE(ReplaceFileText(target, "other", error)) << error;
       EXPECT_EQ(ReadAll(target), "other");
       return false;
     },
     SaveOutcome::Saved, "", "new"},
};

void PrintTo(const BeforeRename& moment, std::ostream* out) { *out << moment.Name; }

class BeforeRenameTest : public FilesTest, public ::testing::WithParamInterface<BeforeRename> {};

TEST_P(BeforeRenameTest, TheSaveSaysWhatBecameOfIt) {
  const std::string target = PathOf("keep.dat");
  WriteAll(target, "old");
  // A file that merely has the name an earlier version used for its temporary file is not ours.
  WriteAll(target + ".saving.tmp", "someone's own");
  std::string error;
  const SaveOutcome outcome =
      ReplaceFileText(target, "new", [&target] { return GetParam().Meanwhile(target); }, error);
  EXPECT_EQ(outcome, GetParam().Outcome);
  EXPECT_EQ(error, GetParam().Error);
  if (*GetParam().Contents) {
    EXPECT_EQ(ReadAll(target), GetParam().Contents);
  } else {
    EXPECT_TRUE(fs::is_directory(target));
  }
  EXPECT_EQ(ReadAll(target + ".saving.tmp"), "someone's own");
  EXPECT_EQ(TemporaryFilesIn(dir_), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Moments, BeforeRenameTest, ::testing::ValuesIn(kBeforeRename), CaseName());

// A file that is a mount point cannot be renamed over, for root neither: the save fails
// and says so. Needs a mount namespace of its own, which not every machine grants.
TEST_F(FilesTest, ASaveOverAMountPointFailsAndSaysSo) {
  const std::string target = PathOf("mounted.dat");
  WriteAll(target, "old");
  WriteAll(PathOf("other.dat"), "mounted over");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount(PathOf("other.dat").c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      _exit(77);
    }
    prompt.Clear();
    const bool saved = SaveDataFileTo(data, target, false);
    const bool told = prompt.Messages.size() == 1 &&
                      prompt.Messages[0] == "Could not save " + target + ": Device or resource busy";
    _exit(saved ? 1 : !told ? 2 : ReadAll(target) != "mounted over" ? 3 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported as saved, 2: not told, 3: the mounted file changed";
  EXPECT_EQ(ReadAll(target), "old");
  EXPECT_EQ(TemporaryFilesIn(dir_), std::vector<std::string>{});
}

TEST_F(FilesTest, AReadOnlyFileIsRefusedUnlessTheUserCouldWriteIt) {
  // Read-only files, directly and through a link, in a folder anyone may write to.
  fs::permissions(dir_, fs::perms::all);
  const std::string file = PathOf("ro.dat");
  WriteAll(file, "precious");
  chmod(file.c_str(), 0444);
  fs::create_symlink("ro.dat", dir_ / "ro-link.dat");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Root may write any file, and so may replace it: try as an ordinary user.
    if (geteuid() == 0 && setuid(65534) != 0) _exit(9);
    int failures = 0;
    for (const std::string& path : {file, PathOf("ro-link.dat")}) {
      prompt.Clear();
      if (SaveDataFileTo(data, path, false)) failures |= 1;
      if (prompt.Messages != std::vector<std::string>{"Could not save " + path + ": Permission denied"}) failures |= 2;
    }
    _exit(failures);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: replaced anyway, 2: wrong message, 9: could not drop root";
  EXPECT_EQ(ReadAll(file), "precious");
  EXPECT_TRUE(fs::is_symlink(dir_ / "ro-link.dat"));

  // Whoever may write the file (root here, or its owner after a chmod) still saves.
  if (geteuid() == 0) {
    EXPECT_TRUE(SaveDataFileTo(data, file, false));
    EXPECT_NE(ReadAll(file), "precious");
  }
}

}  // namespace
}  // namespace brixo::testing
