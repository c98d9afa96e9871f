#pragma once
// SerialPort on QSerialPort: real serial devices and pseudo-terminals (by full path).
// Works without a running event loop: waits happen in the operating system (poll).
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "link/serial_low_latency.h"
#include "link/serial_port_factory.h"

class QSerialPort;

namespace brixo {

class QtSerialPort final : public SerialPort {
 public:
  QtSerialPort();
  ~QtSerialPort() override;

  bool SetLineSettings(const std::string& settings) override;
  std::string LineSettings() const override { return settings_; }
  bool Open(const std::string& device) override;
  void Close() override;
  bool IsOpen() const override;
  bool Write(std::span<const uint8_t> bytes) override;
  int BytesWaiting() override;
  int ReadByte() override;
  bool WaitForBytes(int timeoutMs) override;
  bool WaitForCount(int count, int timeoutMs) override;
  void CheckStillThere() override;
  std::string TakeFault() override;
  std::vector<std::string> TakeNotes() override;

 private:
  void ApplyLineSettings();
  void NoteError(int error);
  void CloseIfBroken();
  bool OpenDevice();
  // Received bytes the driver holds that nobody has taken yet.
  int KernelBytes() const;
  // Received bytes taken from the driver (by Qt or by ReadByte) and not handed out.
  int BytesTaken() const;
  void SetMinimumBytes(int count);
  void UseFineTimerSlack();
  void RestoreTimerSlack();
  void NoteDeviceFailure(const std::string& why);
  enum class PaceEvent { Awaited, SleptEnough, SleptTooShort };
  void LearnPace(std::chrono::steady_clock::time_point arrived, PaceEvent event);
  void TakeReceived();
  std::chrono::steady_clock::duration WireTime(int bytes) const;

  std::unique_ptr<QSerialPort> port_;
  std::string settings_ = "19200,o,8,1";
  std::string device_;
  std::string fault_;
  std::vector<std::string> notes_;
  SerialLowLatency lowLatency_;
  double byteSeconds_ = 0.0;  // wire time of one byte at the current settings
  // When the bytes written so far will have crossed the line.
  std::chrono::steady_clock::time_point lineFreeAt_{};
  int receivedSinceWrite_ = 0;  // bytes handed out since the last write
  // Received bytes have come at the line's pace (not all at once, as an unpaced
  // pseudo-terminal gives them).
  bool pacedLine_ = false;
  int pacedEvidence_ = 0;  // replies in a row that came no sooner than the wire allows
  unsigned pacedWaits_ = 0;
  // How long after its wire time a reply is looked at (see WaitForCount).
  std::chrono::nanoseconds allowance_{};
  int savedTimerSlack_ = -1;  // the thread's timer slack before the port set its own
  std::vector<uint8_t> inbox_;  // read from the device, handed out from inboxHead_ on
  size_t inboxHead_ = 0;
  termios terminal_{};     // the device's settings as last read, for the minimum count
  int minimumBytes_ = -1;  // the minimum count set; -1: not known
  bool broken_ = false;  // a read or resource error happened; close at the next chance
};

class QtSerialPortFactory final : public SerialPortFactory {
 public:
  std::unique_ptr<SerialPort> CreatePort(const std::string& device) override;
};

}  // namespace brixo
