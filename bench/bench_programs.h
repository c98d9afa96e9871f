#pragma once
// What the benchmarks that run the programs share: a program run with its wall and CPU
// time, the bytes brixo-sim counted on its line, and a full configuration to move.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "model/pin_model.h"

namespace brixo::bench {

struct Run {
  int Status = -1;
  double Wall = 0;
  double Cpu = 0;
};

inline double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

inline Run RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& output) {
  Run run;
  const double cpu0 = ChildCpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::FILE* out = std::fopen(output.c_str(), "w");
    if (out) {
      dup2(fileno(out), STDOUT_FILENO);
      dup2(fileno(out), STDERR_FILENO);
    }
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  run.Cpu = ChildCpuSeconds() - cpu0;
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  return run;
}

// Bytes on the line in both directions, as the simulator counted them.
inline long LineBytes(const std::string& countPath) {
  std::ifstream in(countPath);
  long received = 0;
  long sent = 0;
  if (!(in >> received >> sent)) return 0;
  return received + sent;
}

// All 32 pins with four aspects of nine steps, servo and PWM outputs, event actions.
inline std::string FullConfiguration() {
  ConfigModel model;
  GeneralSettings general;
  EventControlState events;
  general.TextGenIDString = "CLI bench";
  general.TextGenDCCAddress = "200";
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = model.PinTable[p];
    pin.AspectConfig = 3;
    pin.InitAspect = static_cast<uint8_t>(1 + p % 4);
    pin.DccAddressCount = pin.XDccAddressCount = pin.SerialAddressCount = 1;
    for (int a = 0; a < 4; ++a) {
      for (int s = 0; s < kStepCount; ++s)
        pin.Aspects[a].Steps[s] = StepRecord{uint8_t(1 + (p + a + s) % 3), 0, uint8_t(s), uint8_t(a), 20, 2};
    }
    pin.OutputConfig = p % 2 ? std::array<uint8_t, kOutputConfigSize>{2, 12, 0, 28, 0, 31}
                             : std::array<uint8_t, kOutputConfigSize>{1, 64, 40, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (int i = 0; i < kEventInputCount; ++i) {
      events.OnAction[p][i] = static_cast<int16_t>((p + i) % 12);
      events.OffAction[p][i] = static_cast<int16_t>((p * 3 + i) % 12 - 1);
    }
  }
  bool quotes = false;
  return ComposeDataFile(model, general, events, false, quotes);
}

}  // namespace brixo::bench
