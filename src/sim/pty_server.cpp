#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace brixo {

namespace {
constexpr int kBitsPerByte = 11;  // start, 8 data, parity, stop

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

speed_t SpeedFor(int baud) {
  switch (baud) {
    case 9600:
      return B9600;
    case 38400:
      return B38400;
    default:
      return B19200;
  }
}
}  // namespace

PtyServer::PtyServer(SimSerialPort& line, const PtyServerOptions& options)
    : line_(line), options_(options), byteSeconds_(double(kBitsPerByte) / options.Baud) {}

PtyServer::~PtyServer() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

bool PtyServer::Open(std::string& error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  const char* name = ptsname(master_);
  if (!name) {
    error = "cannot name the pseudo-terminal";
    return false;
  }
  path_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY);
  if (slave_ < 0) {
    error = std::string("cannot open ") + path_ + ": " + std::strerror(errno);
    return false;
  }
  termios tio{};
  tcgetattr(slave_, &tio);
  cfmakeraw(&tio);
  tio.c_cflag |= PARENB | PARODD | CLOCAL | CREAD;
  cfsetispeed(&tio, SpeedFor(options_.Baud));
  cfsetospeed(&tio, SpeedFor(options_.Baud));
  tcsetattr(slave_, TCSANOW, &tio);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  line_.Open(path_);
  adapterEpoch_ = Now();
  return true;
}

void PtyServer::LogBytes(const char* prefix, const unsigned char* bytes, size_t count) const {
  if (options_.Quiet || count == 0) return;
  std::string text = prefix;
  char hex[4];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    text += hex;
  }
  text += '\n';
  // The log must never hold up the line: a reader that does not drain standard error
  // loses lines instead of stalling the simulator.
  pollfd err{STDERR_FILENO, POLLOUT, 0};
  if (poll(&err, 1, 0) == 1 && (err.revents & POLLOUT) != 0) {
    [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, text.data(), text.size());
  }
}

// The adapter's timer runs on its own: a byte waits for the next tick, whenever it came,
// so the hold is anything up to the timer's period (a full buffer, never reached by a
// controller's replies, would be sent earlier).
double PtyServer::AdapterRelease(double due) const {
  if (options_.LatencyTimerMs <= 0) return due;
  const double tick = options_.LatencyTimerMs / 1000.0;
  return adapterEpoch_ + std::ceil((due - adapterEpoch_) / tick) * tick;
}

void PtyServer::TakeReplies(double earliest) {
  while (line_.BytesWaiting() > 0) {
    const int value = line_.ReadByte();
    double due = earliest;
    if (options_.Pace) {
      due = std::max(earliest, outputFree_) + byteSeconds_;
      outputFree_ = due;
    }
    out_.push_back({static_cast<unsigned char>(value), AdapterRelease(due)});
  }
}

bool PtyServer::Flush(double now) {
  blocked_ = false;
  unsigned char chunk[256];
  while (outHead_ < out_.size()) {
    size_t n = 0;
    while (outHead_ + n < out_.size() && n < sizeof chunk && out_[outHead_ + n].due <= now) {
      chunk[n] = out_[outHead_ + n].value;
      ++n;
    }
    if (n == 0) break;
    const ssize_t written = write(master_, chunk, n);
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN) {
        blocked_ = true;  // nobody reads the device: retry now and then, never spin
        break;
      }
      return false;
    }
    LogBytes("<", chunk, static_cast<size_t>(written));
    outHead_ += static_cast<size_t>(written);
    bytesOut_ += written;
  }
  if (outHead_ == out_.size()) {
    out_.clear();
    outHead_ = 0;
  }
  return true;
}

int PtyServer::Serve() {
  unsigned char buffer[512];
#ifdef __linux__
  // A line delivers each byte on time; the default timer slack (50 us, a sixth of a byte
  // at 38400 bit/s) would make every reply late by that much.
  if (options_.Pace) ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
  for (;;) {
    double now = Now();
    // Replies held back by a configured delay become due on the steady clock.
    TakeReplies(std::max(now, inputFree_));
    if (!Flush(now)) return 1;

    double wake = -1.0;
    if (outHead_ < out_.size()) wake = blocked_ ? now + 0.01 : out_[outHead_].due;
    if (std::optional<double> due = line_.NextByteDue(); due && (wake < 0 || *due < wake)) wake = *due;

    pollfd fds[2] = {{master_, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    const nfds_t count = options_.WatchStdin ? 2 : 1;
    timespec timeout{};
    timespec* timeoutPtr = nullptr;
    if (wake >= 0) {
      const double wait = std::max(0.0, wake - now);
      timeout.tv_sec = static_cast<time_t>(wait);
      timeout.tv_nsec = static_cast<long>((wait - std::floor(wait)) * 1e9);
      timeoutPtr = &timeout;
    }
    if (ppoll(fds, count, timeoutPtr, nullptr) < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
    if (options_.WatchStdin && (fds[1].revents & (POLLIN | POLLHUP | POLLERR))) {
      const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) return 0;  // end of input: the parent is gone or wants us gone
    }
    if ((fds[0].revents & POLLNVAL) != 0) return 1;
    if ((fds[0].revents & (POLLHUP | POLLERR)) != 0 && (fds[0].revents & POLLIN) == 0) {
      // Should not happen while we hold the slave open; never spin on it regardless.
      timespec pause{0, 10'000'000};
      nanosleep(&pause, nullptr);
      continue;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n > 0) {
        now = Now();
        LogBytes(">", buffer, static_cast<size_t>(n));
        bytesIn_ += n;
        // Paced, the controller only sees the last byte once the line has carried it.
        inputFree_ = options_.Pace ? std::max(inputFree_, now) + double(n) * byteSeconds_ : now;
        line_.Write(std::span<const uint8_t>(buffer, static_cast<size_t>(n)));
        if (line_.Controllers().AnyGone()) {
          // Unplugged: both sides of the pseudo-terminal close, so the program on the
          // device sees it hang up, as it would see a USB adapter pulled out.
          if (!options_.Quiet) std::fputs("brixo-sim: device gone\n", stderr);
          return 0;
        }
      }
    }
  }
}

}  // namespace brixo
