#pragma once
// The in-process serial line with a simulated controller (and optionally an interface
// unit of the host system) on the far end. Everything the tool writes is kept for the
// tests; replies become readable at once or after a delay measured on the injected clock.
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/serial_port.h"
#include "sim/controller_bus.h"
#include "sim/interface_unit.h"
#include "sim/sim_controller.h"

namespace brixo {

class SimSerialPort final : public SerialPort {
 public:
  explicit SimSerialPort(Clock& clock);

  // The first controller on the line (a line starts with one, at module address 0).
  SimController& Controller() { return controllers_.First(); }
  SimFaults& Faults() { return Controller().Faults(); }
  // Every controller on the line; more can be added, each with its own memory.
  ControllerBus& Controllers() { return controllers_; }
  InterfaceUnit& Host() { return host_; }
  // Attached: an interface unit sits in front of the controller and sees the bytes first.
  void SetHostAttached(bool attached);
  bool HostAttached() const { return hostAttached_; }

  void SetOpenFails(bool fails) { openFails_ = fails; }
  // The device goes away while nothing runs, as an adapter pulled out between two
  // operations: the next look at the line finds it gone, and it opens no more.
  void Unplug() { unplugged_ = true; }

  // Every byte the tool wrote, in order.
  const std::vector<uint8_t>& Written() const { return written_; }
  void ClearWritten() { written_.clear(); }
  // Payloads of the controller frames the first controller accepted, in order.
  std::vector<std::vector<int>> ReceivedPayloads() const;
  // Legacy five-byte frames: address, b1, b2, b3.
  std::vector<std::array<int, 4>> LegacyFrames() const;

  // Extra delay, in clock seconds, before any reply becomes readable (added to the
  // controller's own ReplyDelaySeconds fault).
  void SetReplyDelay(double seconds) { replyDelay_ = seconds; }
  // Bytes that become readable at once, as if the far end had sent them.
  void InjectBytes(std::span<const uint8_t> bytes);

  // Clock time at which the next reply byte becomes readable; nothing when none is queued.
  std::optional<double> NextByteDue() const;

  bool SetLineSettings(const std::string& settings) override;
  std::string LineSettings() const override { return lineSettings_; }
  bool Open(const std::string& device) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  bool Write(std::span<const uint8_t> bytes) override;
  int BytesWaiting() override;
  int ReadByte() override;
  bool WaitForBytes(int timeoutMs) override;
  bool WaitForCount(int count, int timeoutMs) override;
  // A controller's GoneAfterFrames fault closes the port as an unplugged device would.
  void CheckStillThere() override;
  std::string TakeFault() override;

 private:
  struct PendingByte {
    uint8_t value;
    double due;  // clock seconds when the byte becomes readable
  };
  void Queue(const std::vector<uint8_t>& bytes, double delaySeconds);

  Clock& clock_;
  ControllerBus controllers_;
  InterfaceUnit host_;
  double replyDelay_ = 0.0;
  bool hostAttached_ = false;
  bool openFails_ = false;
  bool unplugged_ = false;
  bool open_ = false;
  std::string device_;
  std::string fault_;
  std::string lineSettings_ = "19200,o,8,1";
  std::vector<uint8_t> written_;
  std::deque<PendingByte> pending_;
};

}  // namespace brixo
