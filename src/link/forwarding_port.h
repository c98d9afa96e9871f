#pragma once
// A port that hands every call on to another one: the base of wrappers that watch or change
// what crosses the line, so each states only what it does differently.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace brixo {

class ForwardingPort : public SerialPort {
 public:
  explicit ForwardingPort(SerialPort& inner) : inner_(inner) {}
  bool SetLineSettings(const std::string& s) override { return inner_.SetLineSettings(s); }
  std::string LineSettings() const override { return inner_.LineSettings(); }
  bool Open(const std::string& device) override { return inner_.Open(device); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  bool Write(std::span<const uint8_t> bytes) override { return inner_.Write(bytes); }
  int BytesWaiting() override { return inner_.BytesWaiting(); }
  int ReadByte() override { return inner_.ReadByte(); }
  bool WaitForBytes(int timeoutMs) override { return inner_.WaitForBytes(timeoutMs); }
  bool WaitForCount(int count, int timeoutMs) override { return inner_.WaitForCount(count, timeoutMs); }
  std::vector<std::string> TakeNotes() override { return inner_.TakeNotes(); }
  void CheckStillThere() override { inner_.CheckStillThere(); }
  std::string TakeFault() override { return inner_.TakeFault(); }
  double RoundTripSeconds() const override { return inner_.RoundTripSeconds(); }

 protected:
  SerialPort& Inner() { return inner_; }

 private:
  SerialPort& inner_;
};

}  // namespace brixo
