#pragma once
// Runs the real brixo-cli (and brixo-sim on a pseudo-terminal) as child processes, with
// standard input that is not a terminal, and collects what they print.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_process.h"
#include "support/scratch_folder.h"

namespace brixo::testing {

struct ProgramResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Runs the program with the arguments; standard output and error go through files so that
// neither can fill up and stall the child.
inline ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args) {
  ScratchFolder scratch;
  const std::string out = scratch / "out";
  const std::string err = scratch / "err";
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    dup2(in, STDIN_FILENO);
    dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  ProgramResult result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.Out = ReadText(out);
  result.Err = ReadText(err);
  return result;
}

inline ProgramResult RunCli(const std::vector<std::string>& args) { return RunProgram(BRIXO_CLI_EXE, args); }

inline std::string DataFile(const char* name) { return std::string(BRIXO_TEST_DATA_DIR) + "/" + name; }

// brixo-sim on a pseudo-terminal, without its byte log.
inline bool StartSim(SimProcess& sim, std::vector<std::string> options = {}) {
  options.insert(options.begin(), "--quiet");
  return sim.Start(BRIXO_SIM_EXE, options);
}

// Lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace brixo::testing
