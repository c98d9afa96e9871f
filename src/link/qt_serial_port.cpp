#include "link/qt_serial_port.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <QTimer>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <thread>

#include <optional>
#include <sstream>
#include <vector>

#include "link/line_timing.h"

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

// A byte at 38400 bit/s takes 286 us; the default timer slack of 50 us would add a sixth
// of that to every sleep for the rest of a reply.
constexpr std::chrono::microseconds kReactionAllowance{80};

void SleepPrecisely(std::chrono::steady_clock::duration span) {
#ifdef __linux__
  const int slack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
  ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
  std::this_thread::sleep_for(span);
  if (slack > 0) ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slack), 0, 0, 0);
#else
  std::this_thread::sleep_for(span);
#endif
}

}  // namespace

QtSerialPort::QtSerialPort() : port_(std::make_unique<QSerialPort>()) {
  QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                   [this](QSerialPort::SerialPortError error) { NoteError(error); });
}

QtSerialPort::~QtSerialPort() {
  // No error signal may reach this object while the QSerialPort shuts down.
  QObject::disconnect(port_.get(), nullptr, nullptr, nullptr);
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
  if (broken_ && port_->isOpen()) port_->close();
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
    fault_ = "Communications port " + device + ": " + port_->errorString().toStdString();
    port_->clearError();
    return false;
  }
  notes_ = lowLatency_.Apply(static_cast<int>(port_->handle()), device);
  return true;
}

bool QtSerialPort::OpenDevice() {
  ApplyLineSettings();
  return port_->open(QIODevice::ReadWrite);
}

void QtSerialPort::Close() {
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

bool QtSerialPort::Write(std::span<const uint8_t> bytes) {
  CloseIfBroken();
  if (!IsOpen()) return false;
  const qint64 size = static_cast<qint64>(bytes.size());
  if (port_->write(reinterpret_cast<const char*>(bytes.data()), size) != size) return false;
  // Without an event loop nothing leaves Qt's buffer on its own.
  port_->flush();
  while (IsOpen() && port_->bytesToWrite() > 0) {
    if (!port_->waitForBytesWritten(1000)) break;
  }
  CloseIfBroken();
  // What was written crosses the line from now on; no answer can begin before its end.
  const auto now = std::chrono::steady_clock::now();
  lineFreeAt_ = std::max(lineFreeAt_, now) + WireTime(static_cast<int>(size));
  return IsOpen() && port_->bytesToWrite() == 0;
}

std::chrono::steady_clock::duration QtSerialPort::WireTime(int bytes) const {
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(bytes * byteSeconds_));
}

int QtSerialPort::BytesWaiting() {
  CloseIfBroken();
  if (!IsOpen()) return 0;
  if (port_->bytesAvailable() > 0) return static_cast<int>(port_->bytesAvailable());
  return KernelBytes();
}

// Qt only learns of received bytes when asked to wait for them; asking the device directly
// is cheaper than a zero-length wait, which Qt reports as a time-out error.
int QtSerialPort::KernelBytes() const {
  int pending = 0;
  if (::ioctl(static_cast<int>(port_->handle()), FIONREAD, &pending) != 0) return 0;
  return pending;
}

int QtSerialPort::ReadByte() {
  CloseIfBroken();
  if (!IsOpen()) return -1;
  if (port_->bytesAvailable() == 0) {
    port_->waitForReadyRead(0);
    CloseIfBroken();
    if (!IsOpen() || port_->bytesAvailable() == 0) return -1;
  }
  char c = 0;
  if (!port_->getChar(&c)) return -1;
  return static_cast<uint8_t>(c);
}

bool QtSerialPort::WaitForBytes(int timeoutMs) {
  CloseIfBroken();
  if (!IsOpen()) return false;
  if (port_->bytesAvailable() > 0) return true;
  port_->waitForReadyRead(timeoutMs);
  CloseIfBroken();
  return IsOpen() && port_->bytesAvailable() > 0;
}

// Bytes come at the line's pace: sleeping their wire time wakes the program once instead
// of once a byte. On a line that has shown that pace, an answer cannot be complete before
// what we wrote has crossed the line and the answer's bytes after it, so the wait sleeps
// until then; otherwise (and when the bytes are late) it waits for the first byte itself,
// then sleeps the wire time of the rest. Whatever came by then is handed over; the caller
// asks again for bytes later than their wire time (an adapter holding them back).
bool QtSerialPort::WaitForCount(int count, int timeoutMs) {
  using Steady = std::chrono::steady_clock;
  const Steady::time_point end = Steady::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
  bool slept = false;
  bool firstByteAwaited = false;
  for (;;) {
    CloseIfBroken();
    if (!IsOpen()) return false;
    const int have = static_cast<int>(port_->bytesAvailable()) + KernelBytes();
    const Steady::time_point now = Steady::now();
    if (firstByteAwaited && have > 0 && byteSeconds_ > 0) {
      // A line that delivers faster than bytes can cross it (a pseudo-terminal without
      // pacing) must not be slowed down to the wire's pace.
      pacedLine_ = have < count && now >= lineFreeAt_ + WireTime(1);
      firstByteAwaited = false;
    }
    if (have >= count || (have > 0 && (slept || byteSeconds_ <= 0))) return true;
    if (now >= end) return have > 0;
    // A moment for the far end's own reaction, so that one sleep mostly finds it all; a
    // byte that is later still is waited for by itself.
    const Steady::time_point complete = lineFreeAt_ + WireTime(count) + kReactionAllowance;
    if (have == 0 && (!pacedLine_ || slept || now >= complete)) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now).count();
      port_->waitForReadyRead(static_cast<int>(std::max<long long>(1, left)));
      firstByteAwaited = true;
      slept = false;
    } else {
      const Steady::time_point until = have == 0 ? complete : now + WireTime(count - have);
      SleepPrecisely(std::min<Steady::duration>(until - now, end - now));
      slept = true;
    }
  }
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
