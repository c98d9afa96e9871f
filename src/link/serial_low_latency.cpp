#include "link/serial_low_latency.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#ifdef __linux__
#include <linux/serial.h>
#endif

namespace brixo {

namespace {

constexpr int kLowestLatencyMs = 1;

bool ReadNumber(const std::string& path, int& value) {
  std::ifstream in(path);
  return static_cast<bool>(in >> value);
}

// Errors as the system words them; a short write names no errno.
std::string WriteNumber(const std::string& path, int value) {
  errno = 0;
  std::ofstream out(path);
  if (out) out << value << '\n';
  if (out) out.flush();
  if (out) return {};
  return errno != 0 ? std::strerror(errno) : "not written";
}

}  // namespace

std::string SerialLowLatency::LatencyTimerPath(const std::string& device) const {
  std::error_code error;
  // /dev/serial/by-id/... names are links to the ttyUSBn the driver knows.
  std::filesystem::path real = device;
  for (int hops = 0; hops < 8 && std::filesystem::is_symlink(real, error); ++hops) {
    const std::filesystem::path target = std::filesystem::read_symlink(real, error);
    if (error) break;
    real = target.is_absolute() ? target : real.parent_path() / target;
  }
  const std::string name = real.filename().string();
  if (name.empty()) return {};
  const std::filesystem::path timer = std::filesystem::path(sysfs_) / name / "latency_timer";
  return std::filesystem::exists(timer, error) ? timer.string() : std::string();
}

std::vector<std::string> SerialLowLatency::Apply(int handle, const std::string& device) {
  std::vector<std::string> notes;
  handle_ = handle;
  flagSet_ = false;
  timerPath_.clear();
#ifdef __linux__
  serial_struct serial{};
  if (handle >= 0 && ::ioctl(handle, TIOCGSERIAL, &serial) == 0) {
    if ((serial.flags & ASYNC_LOW_LATENCY) == 0) {
      serial.flags |= ASYNC_LOW_LATENCY;
      if (::ioctl(handle, TIOCSSERIAL, &serial) == 0) {
        flagSet_ = true;
      } else {
        notes.push_back("Low-latency mode of " + device + " could not be set: " + std::strerror(errno));
      }
    }
  }
#endif
  const std::string timer = LatencyTimerPath(device);
  int before = 0;
  if (!timer.empty() && ReadNumber(timer, before) && before > kLowestLatencyMs) {
    const std::string problem = WriteNumber(timer, kLowestLatencyMs);
    if (problem.empty()) {
      timerPath_ = timer;
      timerBefore_ = before;
    } else {
      notes.push_back("Latency timer of " + device + " stays at " + std::to_string(before) + " ms (" + timer +
                      ": " + problem + "); replies may be slow");
    }
  }
  return notes;
}

void SerialLowLatency::Restore() {
#ifdef __linux__
  serial_struct serial{};
  if (flagSet_ && handle_ >= 0 && ::ioctl(handle_, TIOCGSERIAL, &serial) == 0) {
    serial.flags &= ~ASYNC_LOW_LATENCY;
    ::ioctl(handle_, TIOCSSERIAL, &serial);
  }
#endif
  if (!timerPath_.empty()) WriteNumber(timerPath_, timerBefore_);
  flagSet_ = false;
  timerPath_.clear();
  handle_ = -1;
}

}  // namespace brixo
