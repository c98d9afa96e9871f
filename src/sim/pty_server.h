#pragma once
// Serves a simulated line on a pseudo-terminal: whatever a program writes to the slave
// side reaches the simulated controller (or interface unit), and the replies come back,
// at once or paced at the line's bit rate.
#include <string>

#include "sim/sim_serial_port.h"

namespace brixo {

struct PtyServerOptions {
  int Baud = 19200;
  bool Pace = false;
  // A USB-serial adapter's latency timer: bytes the adapter receives wait for its next
  // tick, every this many ms, before they reach the program. 0: passed on at once.
  int LatencyTimerMs = 0;
  bool Quiet = false;
  bool WatchStdin = true;  // end when standard input reaches end of file
};

class PtyServer {
 public:
  PtyServer(SimSerialPort& line, const PtyServerOptions& options);
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Creates the pseudo-terminal; false with a message in error when that fails.
  bool Open(std::string& error);
  // Path of the slave device that clients open.
  const std::string& DevicePath() const { return path_; }
  // Serves until standard input ends (when watched) or a fatal error; returns an exit code.
  int Serve();
  // Bytes that crossed the line so far: from the program, and to it.
  long long BytesReceived() const { return bytesIn_; }
  long long BytesSent() const { return bytesOut_; }

 private:
  struct OutByte {
    unsigned char value;
    double due;
  };
  void TakeReplies(double earliest);
  bool Flush(double now);
  void LogBytes(const char* prefix, const unsigned char* bytes, size_t count) const;

  SimSerialPort& line_;
  PtyServerOptions options_;
  int master_ = -1;
  int slave_ = -1;  // kept open so that a client closing the device does not hang us up
  std::string path_;
  // When the adapter hands on a byte that reached it at time due.
  double AdapterRelease(double due) const;

  double byteSeconds_ = 0.0;
  double adapterEpoch_ = 0.0;  // the latency timer's ticks count from here
  double inputFree_ = 0.0;   // when the line in will have carried the bytes received
  double outputFree_ = 0.0;  // when the line out will have carried the queued bytes
  std::vector<OutByte> out_;
  size_t outHead_ = 0;
  long long bytesIn_ = 0;
  long long bytesOut_ = 0;
  bool blocked_ = false;  // the last write found the device's buffer full
};

}  // namespace brixo
