#pragma once
// The one way to reach a serial line: a real device (QSerialPort), a pseudo-terminal, a
// serial server on the network, or the in-process simulated controller.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brixo {

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Line settings "9600,o,8,1", "19200,o,8,1" or "38400,o,8,1". Applied before Open(),
  // since some devices refuse parity changes while open.
  virtual bool SetLineSettings(const std::string& settings) = 0;
  virtual std::string LineSettings() const = 0;

  // Opens the named device with the current line settings. False leaves the port closed.
  virtual bool Open(const std::string& device) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  virtual bool Write(std::span<const uint8_t> bytes) = 0;
  // Count of received bytes waiting to be read.
  virtual int BytesWaiting() = 0;
  // The next received byte, or -1 when none is waiting.
  virtual int ReadByte() = 0;
  // Blocks in the operating system until at least one byte is waiting or timeoutMs passed.
  // Returns true when a byte is waiting.
  virtual bool WaitForBytes(int timeoutMs) = 0;
  // Blocks in the operating system until count bytes are waiting or timeoutMs passed, but
  // at most the wire time of the missing bytes once the first one is there; true when any
  // byte is waiting. Bytes come at the line's pace, so a port that knows its bit rate
  // sleeps that wire time instead of waking for each byte. A port that cannot do better
  // returns once any byte is waiting.
  virtual bool WaitForCount(int count, int timeoutMs) { return BytesWaiting() >= count || WaitForBytes(timeoutMs); }

  // What the port could not arrange when it opened (low-latency operation, say), for the
  // communication monitor; each note is handed out once.
  virtual std::vector<std::string> TakeNotes() { return {}; }

  // How much later than on a local line a reply can come: the round trip to a serial
  // server over the network, as measured on this connection; 0 for a local line. Reply
  // windows grow by it, so that a slow network is not taken for a silent controller.
  virtual double RoundTripSeconds() const { return 0.0; }

  // While no exchange runs: looks whether the device is still there, and closes the port,
  // keeping the fault for TakeFault, when it went away (unplugged, its far end closed).
  virtual void CheckStillThere() {}

  // A fault that closed the port behind the caller's back (device unplugged, read error).
  // Returns the description once, then an empty text.
  virtual std::string TakeFault() { return {}; }
};

// The fault of a port whose device went away (unplugged, switched off, the far end of a
// pseudo-terminal closed).
inline std::string PortGoneFault(const std::string& device) {
  return "Communications port " + device + " went away (device unplugged or closed)";
}

}  // namespace brixo
