#pragma once
// SerialPort on QSerialPort: real serial devices and pseudo-terminals (by full path).
// Works without a running event loop: every wait happens in waitForReadyRead.
#include <chrono>
#include <memory>
#include <string>

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
  std::string TakeFault() override;
  std::vector<std::string> TakeNotes() override;

 private:
  void ApplyLineSettings();
  void NoteError(int error);
  void CloseIfBroken();
  bool OpenDevice();
  // Received bytes the driver holds that Qt has not taken yet.
  int KernelBytes() const;
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
  // Received bytes have come at the line's pace (not all at once, as an unpaced
  // pseudo-terminal gives them).
  bool pacedLine_ = false;
  bool broken_ = false;  // a read or resource error happened; close at the next chance
};

class QtSerialPortFactory final : public SerialPortFactory {
 public:
  std::unique_ptr<SerialPort> CreatePort(const std::string& device) override;
};

}  // namespace brixo
