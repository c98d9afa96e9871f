#include "sim/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

extern char** environ;

namespace brixo {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLongestPath = 4096;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// One line from fd, without its end; empty when none arrived before the deadline.
std::string ReadFirstLine(int fd, int timeoutMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string line;
  while (line.size() < kLongestPath) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return {};
    char c;
    const ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n != 1) return {};  // the program ended before finishing the line
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

}  // namespace

SimProcess::~SimProcess() { Stop(); }

bool SimProcess::Start(const std::string& exe, const std::vector<std::string>& options, int timeoutMs) {
  Stop();
  // Close-on-exec keeps these ends out of every other child, so that closing our write end
  // really is the end of this program's input even when several programs run at once.
  int in[2];
  int out[2];
  if (pipe2(in, O_CLOEXEC) != 0) return false;
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    return false;
  }

  std::vector<std::string> args{exe};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  // A caller that blocks signals must not pass that on: the program could not be stopped.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, exe.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  stdin_ = in[1];
  stdout_ = out[0];
  if (spawned != 0) {
    CloseFds();
    return false;
  }
  pid_ = pid;
  path_ = ReadFirstLine(stdout_, timeoutMs);
  if (path_.empty()) {
    Stop(0);
    return false;
  }
  return true;
}

int SimProcess::Stop(int graceMs) {
  if (pid_ <= 0) {
    CloseFds();
    return -1;
  }
  // Standard output stays open until the program is reaped, so that nothing it still
  // writes meets a closed pipe. We never write to its input, so no SIGPIPE can reach us.
  if (stdin_ >= 0) close(stdin_);
  stdin_ = -1;
  const int code = Reap(graceMs);
  CloseFds();
  return code;
}

void SimProcess::Kill() {
  if (pid_ > 0) Reap(0);
  CloseFds();
}

int SimProcess::Reap(int graceMs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(graceMs);
  int status = 0;
  pid_t done = 0;
  while ((done = waitpid(pid_, &status, WNOHANG)) == 0 && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (done == 0) {
    kill(pid_, SIGKILL);
    do {
      done = waitpid(pid_, &status, 0);
    } while (done < 0 && errno == EINTR);
  }
  pid_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void SimProcess::CloseFds() {
  if (stdin_ >= 0) close(stdin_);
  if (stdout_ >= 0) close(stdout_);
  stdin_ = stdout_ = -1;
  path_.clear();
}

}  // namespace brixo
