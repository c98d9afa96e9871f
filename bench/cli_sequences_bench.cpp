// Times "write-all", "read-all" and "verify-all" of a full configuration through brixo-cli
// against the simulator program on a pseudo-terminal, paced at the line's bit rate. The
// simulator counts the bytes that crossed the line (--byte-count), and each run is
// compared with the time those bytes need on the wire.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "model/pin_model.h"
#include "sim/sim_process.h"

namespace brixo {
namespace {

struct Run {
  int Status = -1;
  double Wall = 0;
  double Cpu = 0;
};

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Run RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& output) {
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
long LineBytes(const std::string& countPath) {
  std::ifstream in(countPath);
  long received = 0;
  long sent = 0;
  if (!(in >> received >> sent)) return 0;
  return received + sent;
}

// All 32 pins with four aspects of nine steps, servo and PWM outputs, event actions.
std::string FullConfiguration() {
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

bool BenchAtRate(const std::string& cli, const std::string& folder, int baud) {
  const std::string config = folder + "/full.dat";
  std::ofstream(config, std::ios::binary) << FullConfiguration();

  struct Step {
    const char* Command;
    std::string File;
    bool Loaded;  // the controller starts with the configuration
  };
  const Step steps[] = {{"write-all", config, false}, {"read-all", folder + "/read.dat", true},
                        {"verify-all", config, true}};
  bool withinAim = true;
  for (const Step& step : steps) {
    // A simulator of its own for every command, so that its count is the command's.
    const std::string count = folder + "/" + step.Command + "-" + std::to_string(baud) + ".count";
    std::vector<std::string> simArgs{"--pace", "--baud", std::to_string(baud), "--quiet", "--byte-count", count};
    if (step.Loaded) {
      simArgs.push_back("--load");
      simArgs.push_back(config);
    }
    SimProcess sim;
    if (!sim.Start(BRIXO_SIM_EXE, simArgs)) {
      std::fprintf(stderr, "cannot start %s\n", BRIXO_SIM_EXE);
      return false;
    }
    const Run run = RunProgram(cli, {"--port", sim.Path(), "--baud", std::to_string(baud), step.Command, step.File},
                               folder + "/stdout.txt");
    sim.Stop();
    const long bytes = LineBytes(count);
    const double limit = bytes * 11.0 / baud;
    const double ratio = limit > 0 ? run.Wall / limit : 0;
    const double cpuShare = run.Wall > 0 ? 100.0 * run.Cpu / run.Wall : 0;
    const bool ok = run.Status == 0 && bytes > 0 && ratio <= (baud <= 19200 ? 1.03 : 1.05);
    withinAim = withinAim && ok;
    std::printf("%6d  %-10s  %8.3f s  wire limit %8.3f s (%6ld bytes)  ratio %5.3f  cpu %6.3f s (%5.2f%%)  %s\n",
                baud, step.Command, run.Wall, limit, bytes, ratio, run.Cpu, cpuShare,
                run.Status != 0 ? "FAILED" : ok ? "ok" : "OVER AIM");
    if (run.Status != 0) {
      std::printf("        exit status %d\n", run.Status);
      std::ifstream said(folder + "/stdout.txt");
      for (std::string line; std::getline(said, line);) std::printf("        %s\n", line.c_str());
    }
  }
  return withinAim;
}

}  // namespace
}  // namespace brixo

int main(int argc, char** argv) {
  // brixo-cli is built beside brixo-sim; a path given as the first argument overrides it.
  const std::string cli =
      argc > 1 ? argv[1] : (std::filesystem::path(BRIXO_SIM_EXE).parent_path() / "brixo-cli").string();
  if (!std::filesystem::exists(cli)) {
    std::fprintf(stderr, "cannot find %s\n", cli.c_str());
    return 1;
  }
  char pattern[] = "/tmp/brixo_cli_bench_XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) return 1;
  std::printf("brixo-cli whole-controller timings, program start included; aim: time within 1.03 x the wire\n"
              "limit at 19200 bit/s, 1.05 x at 38400 (bytes both ways, counted by the simulator, x 11 bits / bit rate)\n");
  bool ok = true;
  for (int baud : {19200, 38400}) ok = brixo::BenchAtRate(cli, folder, baud) && ok;
  // A failed run keeps its files (configuration, logs, output) for a look.
  if (ok) std::filesystem::remove_all(folder);
  else std::printf("files kept in %s\n", folder);
  return ok ? 0 : 1;
}
