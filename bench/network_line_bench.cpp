// A line behind the real ser2net on this machine: a full Read All through brixo-cli over
// RFC 2217 and raw TCP, paced at the line's bit rate by brixo-sim, compared with the time
// the bytes it counted need on the wire (and with the same Read All on the device itself,
// and through a ser2net that keeps Nagle's algorithm); and a backup of two lines at once
// (one local, one behind ser2net), compared with the slower line alone.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_programs.h"
#include "sim/sim_process.h"
#include "support/ser2net_process.h"

namespace brixo {
namespace {

using bench::LineBytes;
using bench::Run;
using bench::RunProgram;
using testing::Ser2netProcess;

constexpr double kReadAllAim = 1.05;
constexpr double kSeveralLinesAim = 1.10;

void PrintFailure(const Run& run, const std::string& output) {
  std::printf("        exit status %d\n", run.Status);
  std::ifstream said(output);
  for (std::string line; std::getline(said, line);) std::printf("        %s\n", line.c_str());
}

// How the line is reached: the device itself (the baseline), or through ser2net.
struct Route {
  const char* Name;
  bool Local;
  NetworkProtocol Protocol;
  bool NoDelay;  // ser2net's connection without Nagle's algorithm, as the sample sets it
  bool Aimed;    // the aim applies
};

const Route kRoutes[] = {
    {"device", true, NetworkProtocol::RawTcp, true, false},
    {"rfc2217", false, NetworkProtocol::Rfc2217, true, true},
    {"raw", false, NetworkProtocol::RawTcp, true, true},
    {"rfc2217, ser2net with Nagle", false, NetworkProtocol::Rfc2217, false, false},
};

bool ReadAll(const std::string& cli, const std::string& folder, const Route& route, int baud) {
  const std::string config = folder + "/full.dat";
  const std::string count = folder + "/read-" + std::to_string(baud) + ".count";
  SimProcess sim;
  if (!sim.Start(BRIXO_SIM_EXE, {"--pace", "--baud", std::to_string(baud), "--quiet", "--byte-count", count, "--load",
                                 config})) {
    std::printf("cannot start %s\n", BRIXO_SIM_EXE);
    return false;
  }
  Ser2netProcess server;
  if (!route.Local && !server.Start(sim.Path(), route.Protocol, std::to_string(baud) + "o81", route.NoDelay)) {
    std::printf("cannot start ser2net\n");
    return false;
  }
  const std::string output = folder + "/stdout.txt";
  const std::string port = route.Local ? sim.Path() : server.Url();
  const Run run =
      RunProgram(cli, {"--port", port, "--baud", std::to_string(baud), "read-all", folder + "/read.dat"}, output);
  server.Kill();
  sim.Stop();
  const long bytes = LineBytes(count);
  const double limit = bytes * 11.0 / baud;
  const double ratio = limit > 0 ? run.Wall / limit : 0;
  const bool ok = run.Status == 0 && bytes > 0 && (!route.Aimed || ratio <= kReadAllAim);
  std::printf("%6d  %-28s  %8.3f s  wire limit %8.3f s (%6ld bytes)  ratio %5.3f  cpu %6.3f s  %s\n", baud,
              route.Name, run.Wall, limit, bytes, ratio, run.Cpu,
              run.Status != 0 ? "FAILED" : !route.Aimed ? "" : ok ? "ok" : "OVER AIM");
  if (run.Status != 0) PrintFailure(run, output);
  return ok;
}

bool TwoLineBackup(const std::string& cli, const std::string& folder) {
  const std::string config = folder + "/full.dat";
  const std::vector<std::string> options{"--pace", "--quiet", "--modules", "1", "--load", "1=" + config};
  SimProcess local;
  SimProcess remote;
  if (!local.Start(BRIXO_SIM_EXE, options) || !remote.Start(BRIXO_SIM_EXE, options)) {
    std::printf("cannot start %s\n", BRIXO_SIM_EXE);
    return false;
  }
  Ser2netProcess server;
  if (!server.Start(remote.Path(), NetworkProtocol::Rfc2217)) {
    std::printf("cannot start ser2net\n");
    return false;
  }
  struct Case {
    const char* Name;
    std::vector<std::string> Ports;
  };
  const Case cases[] = {{"local line alone", {local.Path()}},
                        {"ser2net line alone", {server.Url()}},
                        {"both at once", {local.Path(), server.Url()}}};
  std::vector<double> walls;
  bool ran = true;
  for (const Case& c : cases) {
    std::vector<std::string> args;
    for (const std::string& port : c.Ports) args.insert(args.end(), {"--port", port});
    const std::string target = folder + "/backup-" + std::to_string(walls.size());
    args.insert(args.end(), {"backup", target});
    const std::string output = folder + "/stdout.txt";
    const Run run = RunProgram(cli, args, output);
    std::printf("19200  backup, %-18s  %8.3f s  cpu %6.3f s  %s\n", c.Name, run.Wall, run.Cpu,
                run.Status == 0 ? "" : "FAILED");
    if (run.Status != 0) PrintFailure(run, output);
    ran = ran && run.Status == 0;
    walls.push_back(run.Wall);
  }
  const double slower = std::max(walls[0], walls[1]);
  const double ratio = walls[2] / slower;
  const bool ok = ran && ratio <= kSeveralLinesAim;
  std::printf("        both at once / slower line alone = %5.3f  %s\n", ratio, ok ? "ok" : "OVER AIM");
  return ok;
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
  if (!brixo::testing::Ser2netInstalled()) {
    std::fprintf(stderr, "%s is missing: scripts/setup.sh installs it (package ser2net)\n",
                 brixo::testing::kSer2netExe);
    return 1;
  }
  char pattern[] = "/tmp/brixo_network_bench_XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) return 1;
  std::ofstream(std::string(folder) + "/full.dat", std::ios::binary) << brixo::bench::FullConfiguration();
  std::printf("brixo-cli through ser2net on this machine, program start included; aim: Read All within %.2f x the\n"
              "wire limit (bytes both ways, counted by the simulator, x 11 bits / bit rate), two lines at once\n"
              "within %.2f x the slower line alone\n",
              brixo::kReadAllAim, brixo::kSeveralLinesAim);
  bool ok = true;
  std::printf("Read All of a full configuration (the device itself for comparison, without an aim):\n");
  for (int baud : {19200, 38400}) {
    for (const brixo::Route& route : brixo::kRoutes) ok = brixo::ReadAll(cli, folder, route, baud) && ok;
  }
  ok = brixo::TwoLineBackup(cli, folder) && ok;
  // A failed run keeps its files (configuration, output) for a look.
  if (ok) std::filesystem::remove_all(folder);
  else std::printf("files kept in %s\n", folder);
  return ok ? 0 : 1;
}
