#pragma once
// Low-latency operation of a serial device on Linux: the serial driver's low-latency flag,
// and for USB adapters their latency timer, which otherwise holds received bytes back for
// up to 16 ms each. Both are put back as they were when the port closes.
#include <string>
#include <vector>

namespace brixo {

// Where the USB-serial drivers show their devices' settings.
inline constexpr const char* kUsbSerialSysfs = "/sys/bus/usb-serial/devices";

class SerialLowLatency {
 public:
  explicit SerialLowLatency(std::string usbSerialSysfs = kUsbSerialSysfs) : sysfs_(std::move(usbSerialSysfs)) {}
  ~SerialLowLatency() = default;
  SerialLowLatency(const SerialLowLatency&) = delete;
  SerialLowLatency& operator=(const SerialLowLatency&) = delete;

  // Asks for low latency on the open device (handle) named device. Returns a line for the
  // communication monitor for each setting the system refused; a device without such a
  // setting (a pseudo-terminal has neither) is no news.
  std::vector<std::string> Apply(int handle, const std::string& device);
  // Puts back what Apply changed; the handle must still be open.
  void Restore();

  // The latency timer file of a device, empty when it has none (not a USB adapter).
  std::string LatencyTimerPath(const std::string& device) const;

 private:
  std::string sysfs_;
  int handle_ = -1;
  bool flagSet_ = false;      // the driver's flag was off and we switched it on
  std::string timerPath_;     // the timer we lowered
  int timerBefore_ = 0;       // its value before, in ms
};

}  // namespace brixo
