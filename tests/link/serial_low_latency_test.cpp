// Low-latency operation asks a USB adapter for its shortest latency timer and gives the
// old value back on close; a device without such settings is left alone without a word.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "link/serial_low_latency.h"

namespace brixo::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  return text;
}

// A stand-in for the USB-serial drivers' folder in sysfs.
struct FakeSysfs {
  fs::path Root;
  FakeSysfs() {
    char pattern[] = "/tmp/brixo_sysfs_XXXXXX";
    Root = mkdtemp(pattern);
  }
  ~FakeSysfs() { fs::remove_all(Root); }
  fs::path Timer(const std::string& tty, const std::string& value) {
    fs::create_directories(Root / tty);
    std::ofstream(Root / tty / "latency_timer") << value << "\n";
    return Root / tty / "latency_timer";
  }
};

TEST(SerialLowLatency, LatencyTimerIsLoweredWhileOpenAndRestoredAfter) {
  struct Case {
    const char* Before;
    const char* WhileOpen;
  };
  const Case cases[] = {{"16", "1"}, {"255", "1"}, {"2", "1"}, {"1", "1"}, {"0", "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Before);
    FakeSysfs sysfs;
    const fs::path timer = sysfs.Timer("ttyUSB3", c.Before);
    SerialLowLatency low(sysfs.Root.string());
    EXPECT_EQ(low.LatencyTimerPath("/dev/ttyUSB3"), timer.string());
    EXPECT_TRUE(low.Apply(-1, "/dev/ttyUSB3").empty());
    EXPECT_EQ(ReadText(timer), c.WhileOpen);
    low.Restore();
    EXPECT_EQ(ReadText(timer), c.Before);
  }
}

// Devices named through links (/dev/serial/by-id/...) reach their adapter's timer; devices
// that are no USB adapter have none.
TEST(SerialLowLatency, TimerIsFoundThroughLinksAndOnlyForAdapters) {
  FakeSysfs sysfs;
  const fs::path timer = sysfs.Timer("ttyUSB0", "16");
  const fs::path link = sysfs.Root / "by-id-adapter";
  fs::create_symlink("/dev/ttyUSB0", link);
  SerialLowLatency low(sysfs.Root.string());
  EXPECT_EQ(low.LatencyTimerPath(link.string()), timer.string());
  EXPECT_EQ(low.LatencyTimerPath("/dev/ttyS0"), "");
  EXPECT_EQ(low.LatencyTimerPath("/dev/pts/3"), "");
}

// A pseudo-terminal has neither the driver's flag nor a timer: nothing to say.
TEST(SerialLowLatency, PseudoTerminalIsLeftAloneSilently) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string path = ptsname(master);
  const int slave = open(path.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(slave, 0);
  SerialLowLatency low;
  EXPECT_TRUE(low.Apply(slave, path).empty());
  low.Restore();
  close(slave);
  close(master);
}

}  // namespace
}  // namespace brixo::test
