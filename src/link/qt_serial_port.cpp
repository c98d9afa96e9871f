#include "link/qt_serial_port.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>

#include <optional>
#include <sstream>
#include <vector>

#include "link/line_timing.h"
#include "link/port_in_use.h"

namespace brixo {

namespace {

struct LineConfig {
  qint32 BaudRate = 19200;
  QSerialPort::Parity Parity = QSerialPort::OddParity;
  QSerialPort::DataBits DataBits = QSerialPort::Data8;
  QSerialPort::StopBits StopBits = QSerialPort::OneStop;
};

// "19200,o,8,1" → its parts; nothing for a text of another shape.
std::optional<LineConfig> ParseLineSettings(const std::string& text) {
  std::vector<std::string> fields;
  std::stringstream stream(text);
  for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
  if (fields.size() != 4) return std::nullopt;
  LineConfig config;
  try {
    config.BaudRate = std::stoi(fields[0]);
  } catch (...) {
    return std::nullopt;
  }
  if (config.BaudRate <= 0) return std::nullopt;
  if (fields[1] == "o") config.Parity = QSerialPort::OddParity;
  else if (fields[1] == "e") config.Parity = QSerialPort::EvenParity;
  else if (fields[1] == "n") config.Parity = QSerialPort::NoParity;
  else if (fields[1] == "m") config.Parity = QSerialPort::MarkParity;
  else if (fields[1] == "s") config.Parity = QSerialPort::SpaceParity;
  else return std::nullopt;
  if (fields[2] == "8") config.DataBits = QSerialPort::Data8;
  else if (fields[2] == "7") config.DataBits = QSerialPort::Data7;
  else if (fields[2] == "6") config.DataBits = QSerialPort::Data6;
  else if (fields[2] == "5") config.DataBits = QSerialPort::Data5;
  else return std::nullopt;
  if (fields[3] == "1") config.StopBits = QSerialPort::OneStop;
  else if (fields[3] == "1.5") config.StopBits = QSerialPort::OneAndHalfStop;
  else if (fields[3] == "2") config.StopBits = QSerialPort::TwoStop;
  else return std::nullopt;
  return config;
}

bool IsLineFault(int error) {
  return error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
         error == QSerialPort::ResourceError;
}

// Whether the device behind a failing port has gone: unplugged, switched off, or the far
// end of a pseudo-terminal closed. Qt's own text then names whatever call failed last
// ("Inappropriate ioctl for device"), which tells the user nothing.
bool DeviceGone(int error, int handle, const std::string& device) {
  if (error == QSerialPort::ResourceError) return true;
  pollfd state{handle, POLLIN, 0};
  if (handle >= 0 && ::poll(&state, 1, 0) == 1 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) return true;
  struct stat info {};
  return ::stat(device.c_str(), &info) != 0;
}

// A program killed while it held the device leaves the settings it made behind. On a
// pseudo-terminal, which drops the parity bit whatever is asked, Qt then finds that its
// settings changed nothing it can see and refuses the device ("Invalid argument"). Raw
// input without parity handling, as a fresh device has it, lets the next open go through.
void ResetLeftoverSettings(const std::string& device) {
  const int handle = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) return;
  termios settings{};
  if (::tcgetattr(handle, &settings) == 0) {
    ::cfmakeraw(&settings);
    settings.c_iflag &= ~static_cast<tcflag_t>(IGNPAR | INPCK);
    ::tcsetattr(handle, TCSANOW, &settings);
  }
  ::close(handle);
}

// How long past the moment a reply could be complete a missing byte is still awaited
// before any byte will do: the reply may be shorter than the one expected, or an adapter
// holds bytes back. Only those cases pay it; a complete reply ends the wait when it is in.
constexpr std::chrono::milliseconds kPatienceGrace{1};

// The far end's reaction, the driver and (on a pseudo-terminal) the simulator's own
// timer let the last byte come a little after its wire time. The sleep before looking
// allows for it: a running estimate of the time three replies in four need, so that most
// waits end in one wake-up and the rest wait for their last byte by itself. It never
// exceeds half a byte's wire time: a far end slower than that (a USB adapter holding
// bytes back) is better awaited byte by byte than slept past.
constexpr double kAllowanceQuantile = 0.75;
constexpr std::chrono::nanoseconds kAllowanceStep{20'000};
constexpr std::chrono::nanoseconds kFirstAllowance{100'000};

// A far end that stalls (a simulator not yet warmed up, a busy machine) can make a line
// that answers at once look paced. Two replies in a row must show the pace, and now and
// then a wait on a paced line looks early, when only the first bytes of a paced reply
// could be in: a line that has all of it by then is no longer taken for paced. The looks
// come soon after the line was taken for paced (waits 1, 2, 4, 8, 16), when a mistaken
// verdict is most likely, and every 32nd wait after that.
constexpr int kPacedEvidence = 2;
constexpr unsigned kPaceCheckEvery = 32;

bool IsPaceCheck(unsigned pacedWait) {
  if (pacedWait < kPaceCheckEvery) return (pacedWait & (pacedWait - 1)) == 0;
  return pacedWait % kPaceCheckEvery == 0;
}

timespec ToTimespec(std::chrono::steady_clock::duration span) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
  return {static_cast<time_t>(seconds.count()),
          static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(span - seconds).count())};
}

// Waits in the operating system until the device is readable or the moment has come.
// Returns the poll events, 0 on time-out.
short PollReadable(int handle, std::chrono::steady_clock::time_point until) {
  const timespec timeout =
      ToTimespec(std::max<std::chrono::steady_clock::duration>(until - std::chrono::steady_clock::now(), {}));
  pollfd state{handle, POLLIN, 0};
  const int ready = ::ppoll(&state, 1, &timeout, nullptr);
  if (ready < 0) return errno == EINTR ? 0 : POLLERR;
  return ready == 0 ? 0 : state.revents;
}

void SleepUntil(std::chrono::steady_clock::time_point until) {
  const timespec at = ToTimespec(until.time_since_epoch());
  // The steady clock is the monotonic one; an absolute time survives an interruption.
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
  }
}

// Qt reports a device held by another program as a permission problem: a lock file that
// names a living process, or a device opened exclusively. Whether it is one of those, not
// a refused permission, shows when the device is opened here directly.
bool HeldElsewhere(const std::string& device) {
  const int handle = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (handle < 0) return errno == EBUSY;
  ::close(handle);
  return true;
}

bool HungUp(int handle) {
  pollfd state{handle, POLLIN, 0};
  return ::poll(&state, 1, 0) == 1 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

// Waits until the device takes more bytes; false on time-out or failure.
bool PollWritable(int handle, int timeoutMs) {
  pollfd state{handle, POLLOUT, 0};
  return ::poll(&state, 1, timeoutMs) == 1 && (state.revents & POLLOUT) != 0;
}

}  // namespace

QtSerialPort::QtSerialPort() : port_(std::make_unique<QSerialPort>()) {
  QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                   [this](QSerialPort::SerialPortError error) { NoteError(error); });
}

QtSerialPort::~QtSerialPort() {
  // No error signal may reach this object while the QSerialPort shuts down.
  QObject::disconnect(port_.get(), nullptr, nullptr, nullptr);
  RestoreTimerSlack();
  port_->close();
}

void QtSerialPort::NoteError(int error) {
  if (!port_->isOpen() || broken_ || !IsLineFault(error)) return;
  // A device that went away can keep reporting errors for every read attempt: take the
  // first one, and close the port outside Qt's own notification.
  broken_ = true;
  if (DeviceGone(error, static_cast<int>(port_->handle()), device_)) {
    fault_ = PortGoneFault(device_);
  } else {
    fault_ = "Communications port " + device_ + " failed: " + port_->errorString().toStdString();
  }
  if (QCoreApplication::instance() != nullptr) QTimer::singleShot(0, port_.get(), [this] { CloseIfBroken(); });
}

void QtSerialPort::CloseIfBroken() {
  if (!broken_ || !port_->isOpen()) return;
  lowLatency_.Restore();  // a device that failed without going away keeps its own settings
  port_->close();
}

bool QtSerialPort::SetLineSettings(const std::string& settings) {
  if (!ParseLineSettings(settings)) return false;
  settings_ = settings;
  byteSeconds_ = ByteSeconds(settings);
  // A pseudo-terminal refuses some of these on an open port and ignores them anyway;
  // the settings that count are applied before the next Open().
  if (port_->isOpen()) ApplyLineSettings();
  return true;
}

void QtSerialPort::ApplyLineSettings() {
  const LineConfig config = *ParseLineSettings(settings_);
  port_->setBaudRate(config.BaudRate);
  port_->setDataBits(config.DataBits);
  port_->setParity(config.Parity);
  port_->setStopBits(config.StopBits);
  port_->setFlowControl(QSerialPort::NoFlowControl);
  port_->clearError();
  minimumBytes_ = -1;  // Qt writes the device's settings afresh
}

bool QtSerialPort::Open(const std::string& device) {
  Close();
  device_ = device;
  fault_.clear();
  broken_ = false;
  notes_.clear();
  port_->setPortName(QString::fromStdString(device));
  bool opened = OpenDevice();
  if (!opened && port_->error() == QSerialPort::UnsupportedOperationError) {
    ResetLeftoverSettings(device);
    opened = OpenDevice();
  }
  if (!opened) {
    fault_ = port_->error() == QSerialPort::PermissionError && HeldElsewhere(device)
                 ? PortInUseText(device, FindPortHolder(device))
                 : "Communications port " + device + ": " + port_->errorString().toStdString();
    port_->clearError();
    return false;
  }
  // Some programs keep others out with flock() alone, which Qt does not look at; holding
  // the lock in turn keeps them out while the port is open here.
  if (::flock(static_cast<int>(port_->handle()), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    port_->close();
    fault_ = PortInUseText(device, FindPortHolder(device));
    return false;
  }
  notes_ = lowLatency_.Apply(static_cast<int>(port_->handle()), device);
  return true;
}

bool QtSerialPort::OpenDevice() {
  ApplyLineSettings();
  inbox_.clear();
  inboxHead_ = 0;
  pacedLine_ = false;
  pacedEvidence_ = 0;
  pacedWaits_ = 0;
  allowance_ = kFirstAllowance;
  const bool opened = port_->open(QIODevice::ReadWrite);
  minimumBytes_ = -1;
  return opened;
}

void QtSerialPort::Close() {
  RestoreTimerSlack();
  if (port_->isOpen()) {
    lowLatency_.Restore();
    port_->close();
  }
  broken_ = false;
}

std::vector<std::string> QtSerialPort::TakeNotes() {
  std::vector<std::string> notes;
  notes.swap(notes_);
  return notes;
}

bool QtSerialPort::IsOpen() const { return port_->isOpen() && !broken_; }

// Written to the device directly: a request is a few bytes, which the driver takes at
// once, and Qt's buffer would only add copies and a flush to every exchange.
bool QtSerialPort::Write(std::span<const uint8_t> bytes) {
  CloseIfBroken();
  if (!IsOpen()) return false;
  const int handle = static_cast<int>(port_->handle());
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = ::write(handle, bytes.data() + done, bytes.size() - done);
    if (written > 0) {
      done += static_cast<size_t>(written);
    } else if (written < 0 && errno == EAGAIN) {
      // A driver that cannot take the bytes within a second is stuck (flow control).
      if (!PollWritable(handle, 1000)) return false;
    } else if (written < 0 && errno != EINTR) {
      NoteDeviceFailure(std::strerror(errno));
      return false;
    }
  }
  // What was written crosses the line from now on, after what is still crossing it; no
  // answer can begin before its end. A line that does not keep the wire's pace (an
  // unpaced pseudo-terminal) would let that moment run ahead of the clock without end.
  const auto now = std::chrono::steady_clock::now();
  lineFreeAt_ = (pacedLine_ ? std::max(lineFreeAt_, now) : now) + WireTime(static_cast<int>(bytes.size()));
  receivedSinceWrite_ = 0;
  return true;
}

std::chrono::steady_clock::duration QtSerialPort::WireTime(int bytes) const {
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(bytes * byteSeconds_));
}

int QtSerialPort::BytesWaiting() {
  CloseIfBroken();
  if (!IsOpen()) return 0;
  return BytesTaken() + KernelBytes();
}

int QtSerialPort::BytesTaken() const {
  return static_cast<int>(inbox_.size() - inboxHead_) + static_cast<int>(port_->bytesAvailable());
}

// Received bytes the driver holds; asking the device is cheaper than a zero-length wait,
// which Qt reports as a time-out error.
int QtSerialPort::KernelBytes() const {
  int pending = 0;
  if (::ioctl(static_cast<int>(port_->handle()), FIONREAD, &pending) != 0) return 0;
  return pending;
}

int QtSerialPort::ReadByte() {
  CloseIfBroken();
  if (!IsOpen()) return -1;
  if (inboxHead_ == inbox_.size()) TakeReceived();
  if (inboxHead_ == inbox_.size()) return -1;
  return inbox_[inboxHead_++];
}

// Bytes are read from the device directly rather than through Qt's wait, which polls
// first and finds nothing while fewer bytes wait than the driver's minimum count. Qt
// only fills its own buffer when an event loop ran since the last exchange; those bytes
// came before any still in the driver, so they go first.
void QtSerialPort::TakeReceived() {
  if (inboxHead_ == inbox_.size()) {
    inbox_.clear();
    inboxHead_ = 0;
  }
  if (const qint64 queued = port_->bytesAvailable(); queued > 0) {
    const QByteArray bytes = port_->read(queued);
    inbox_.insert(inbox_.end(), bytes.begin(), bytes.end());
    receivedSinceWrite_ += static_cast<int>(bytes.size());
  }
  constexpr size_t kChunk = 512;
  const size_t before = inbox_.size();
  inbox_.resize(before + kChunk);
  const ssize_t got = ::read(static_cast<int>(port_->handle()), inbox_.data() + before, kChunk);
  const int error = errno;
  inbox_.resize(before + static_cast<size_t>(std::max<ssize_t>(got, 0)));
  if (got > 0) {
    receivedSinceWrite_ += static_cast<int>(got);
    return;
  }
  if (got < 0 && (error == EAGAIN || error == EINTR)) return;
  // With no minimum count set a terminal reads nothing as zero bytes, as it does once it
  // hung up; a pseudo-terminal whose far end closed, or an unplugged adapter, fails.
  if (got == 0 && !HungUp(static_cast<int>(port_->handle()))) return;
  NoteDeviceFailure(got < 0 ? std::strerror(error) : "the device hung up");
}

void QtSerialPort::NoteDeviceFailure(const std::string& why) {
  if (broken_) return;
  broken_ = true;
  fault_ = DeviceGone(QSerialPort::ReadError, static_cast<int>(port_->handle()), device_)
               ? PortGoneFault(device_)
               : "Communications port " + device_ + " failed: " + why;
  CloseIfBroken();
}

// The terminal driver reports the device readable only once this many bytes wait (its
// minimum-count setting, with no inter-byte timer), so a wait for a whole reply ends in
// one wake-up when its last byte comes in. Changed only when the count changes.
void QtSerialPort::SetMinimumBytes(int count) {
  count = std::clamp(count, 1, 255);
  if (count == minimumBytes_) return;
  const int handle = static_cast<int>(port_->handle());
  if (minimumBytes_ < 0 && ::tcgetattr(handle, &terminal_) != 0) return;
  terminal_.c_cc[VMIN] = static_cast<cc_t>(count);
  terminal_.c_cc[VTIME] = 0;
  if (::tcsetattr(handle, TCSANOW, &terminal_) == 0) minimumBytes_ = count;
}

// A byte at 38400 bit/s takes 286 us; the default timer slack of 50 us would add a sixth
// of that to every sleep. Set once while the port is open (a system call less per sleep),
// and given back when it closes.
void QtSerialPort::UseFineTimerSlack() {
#ifdef __linux__
  if (savedTimerSlack_ >= 0) return;
  savedTimerSlack_ = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
  ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
}

void QtSerialPort::RestoreTimerSlack() {
#ifdef __linux__
  if (savedTimerSlack_ > 0) ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(savedTimerSlack_), 0, 0, 0);
#endif
  savedTimerSlack_ = -1;
}

bool QtSerialPort::WaitForBytes(int timeoutMs) { return WaitForCount(1, timeoutMs); }

// On a line that has shown the wire's pace, nothing can be complete before what was
// written has crossed it and the reply's bytes after it: one sleep until then (and the
// far end's usual reaction). What is still missing is waited for in the driver, which
// reports the device readable once all of it is in. Past the moment those bytes could
// have come and a grace, any byte will do: the caller then knows more and asks again.
bool QtSerialPort::WaitForCount(int count, int timeoutMs) {
  using Steady = std::chrono::steady_clock;
  const Steady::time_point start = Steady::now();
  const Steady::time_point end = start + std::chrono::milliseconds(std::max(0, timeoutMs));
  count = std::max(1, count);
  CloseIfBroken();
  if (!IsOpen()) return false;
  int have = BytesTaken();
  if (have >= count) return true;
  Steady::time_point complete = start;
  if (byteSeconds_ > 0) {
    complete = std::max(lineFreeAt_ + WireTime(receivedSinceWrite_ + count - have), start + WireTime(count - have));
  }
  // Nothing still in the driver is looked at before the sleep: on a paced line the reply
  // cannot be complete before then, and the caller has just taken what was there.
  bool slept = false;
  if (pacedLine_ && count > 2 && IsPaceCheck(++pacedWaits_)) {
    UseFineTimerSlack();
    SleepUntil(std::min(lineFreeAt_ + WireTime(receivedSinceWrite_ + 1), end));
    TakeReceived();
    have = BytesTaken();
    if (have >= count) {
      pacedLine_ = false;
      pacedEvidence_ = 0;
      return true;
    }
  }
  if (pacedLine_ && start < complete + allowance_) {
    UseFineTimerSlack();
    SleepUntil(std::min(complete + allowance_, end));
    slept = true;
    TakeReceived();
    have = BytesTaken();
    if (have >= count) {
      LearnPace(Steady::now(), PaceEvent::SleptEnough);
      return true;
    }
  }
  Steady::time_point patience = byteSeconds_ > 0 ? std::max(complete, Steady::now()) + kPatienceGrace : end;
  int wanted = count;
  for (;;) {
    if (!IsOpen()) return have > 0;
    SetMinimumBytes(wanted - have);
    const short events = PollReadable(static_cast<int>(port_->handle()), std::min(patience, end));
    TakeReceived();
    have = BytesTaken();
    const Steady::time_point now = Steady::now();
    if (have >= wanted) {
      if (wanted == count && byteSeconds_ > 0) {
        LearnPace(now, slept ? PaceEvent::SleptTooShort : PaceEvent::Awaited);
      }
      return true;
    }
    if ((events & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      if (have > 0) return true;  // what came before the end is still handed over
      NoteDeviceFailure("the device reported an error");
      return false;
    }
    if (now >= end) return have > 0;
    if (now >= patience) {
      if (have > 0) return true;
      wanted = 1;  // nothing yet: the first byte, whenever it comes
      patience = end;
    }
  }
}

// A reply that came in no sooner than its wire time after what was written shows a paced
// line; one there at once (an unpaced pseudo-terminal) must never wait for the wire.
// The allowance moves towards the quantile of the far end's lateness: down a little when
// the sleep was long enough, up more when it was not.
void QtSerialPort::LearnPace(std::chrono::steady_clock::time_point arrived, PaceEvent event) {
  using std::chrono::nanoseconds;
  switch (event) {
    case PaceEvent::Awaited:
      pacedEvidence_ = arrived >= lineFreeAt_ ? pacedEvidence_ + 1 : 0;
      if (!pacedLine_ && pacedEvidence_ >= kPacedEvidence) pacedWaits_ = 0;
      pacedLine_ = pacedEvidence_ >= kPacedEvidence;
      return;
    case PaceEvent::SleptEnough:
      allowance_ -= std::chrono::duration_cast<nanoseconds>(kAllowanceStep * (1 - kAllowanceQuantile));
      break;
    case PaceEvent::SleptTooShort:
      allowance_ += std::chrono::duration_cast<nanoseconds>(kAllowanceStep * kAllowanceQuantile);
      break;
  }
  allowance_ = std::clamp(allowance_, nanoseconds{}, std::chrono::duration_cast<nanoseconds>(WireTime(1) / 2));
}

void QtSerialPort::CheckStillThere() {
  CloseIfBroken();
  if (!IsOpen()) return;
  // Nothing is read: bytes that came meanwhile stay for the next exchange.
  struct stat info {};
  if (HungUp(static_cast<int>(port_->handle())) || ::stat(device_.c_str(), &info) != 0)
    NoteDeviceFailure("the device hung up");
}

std::string QtSerialPort::TakeFault() {
  std::string fault;
  fault.swap(fault_);
  return fault;
}

std::unique_ptr<SerialPort> QtSerialPortFactory::CreatePort(const std::string& device) {
  return std::make_unique<QtSerialPort>();
}

}  // namespace brixo
