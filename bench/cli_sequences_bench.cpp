// Times "write-all", "read-all" and "verify-all" of a full configuration through brixo-cli
// against the simulator program on a pseudo-terminal, paced at the line's bit rate. The
// simulator counts the bytes that crossed the line (--byte-count), and each run is
// compared with the time those bytes need on the wire.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_programs.h"
#include "sim/sim_process.h"

namespace brixo {
namespace {

using bench::FullConfiguration;
using bench::LineBytes;
using bench::Run;
using bench::RunProgram;

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
