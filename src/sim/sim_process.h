#pragma once
// Runs the brixo-sim program in a child process for tests, benchmarks and tools that need
// a controller on a real pseudo-terminal. The program prints its device path as the first
// line of standard output and ends when its standard input closes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace brixo {

class SimProcess {
 public:
  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts exe with the options (without the program name) and waits up to timeoutMs for
  // the device path. False when the program could not be started or printed no path in
  // time; it is then stopped again. A program still running from an earlier Start is
  // stopped first.
  bool Start(const std::string& exe, const std::vector<std::string>& options, int timeoutMs = 5000);
  // The device path the program printed; empty when it is not running.
  const std::string& Path() const { return path_; }
  bool Running() const { return pid_ > 0; }
  // Closes the program's standard input, which ends it, and reaps it. A program that has
  // not ended within graceMs is killed. Returns its exit code, or -1 when it did not end
  // by itself (or was not running).
  int Stop(int graceMs = 3000);
  // Ends the program at once, as a crash would, and reaps it.
  void Kill();

 private:
  int Reap(int graceMs);
  void CloseFds();

  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::string path_;
};

}  // namespace brixo
