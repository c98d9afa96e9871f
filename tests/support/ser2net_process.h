#pragma once
// The real ser2net (Debian's package, installed by scripts/setup.sh) in the foreground,
// serving a device (brixo-sim's pseudo-terminal) on a free TCP port of this machine, raw
// or as RFC 2217. Its configuration goes into a scratch folder; it is killed afterwards.
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "link/network_address.h"
#include "support/scratch_folder.h"

namespace brixo::testing {

inline constexpr const char* kSer2netExe = "/usr/sbin/ser2net";

inline bool Ser2netInstalled() { return ::access(kSer2netExe, X_OK) == 0; }

// A TCP port of 127.0.0.1 that nothing listens on at the moment.
inline int FreeTcpPort() {
  const int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(handle, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  ::close(handle);
  return port;
}

inline bool Accepts(int port) {
  const int handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  const bool connected = ::connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(handle);
  return connected;
}

class Ser2netProcess {
 public:
  Ser2netProcess() = default;
  ~Ser2netProcess() { Kill(); }
  Ser2netProcess(const Ser2netProcess&) = delete;
  Ser2netProcess& operator=(const Ser2netProcess&) = delete;

  // Serves device at lineSettings ("19200o81", the server's own notation) on a free port,
  // set up as the README's sample for a layout: chardelay off (a reply goes on as soon as
  // its bytes are in) and, unless noDelay is false, no Nagle delay on the connection.
  bool Start(const std::string& device, NetworkProtocol protocol, const std::string& lineSettings = "19200o81",
             bool noDelay = true) {
    port_ = FreeTcpPort();
    protocol_ = protocol;
    const std::string config = folder_ / "ser2net.yaml";
    std::ofstream(config) << "connection: &line\n"
                          << "  accepter: " << (protocol == NetworkProtocol::Rfc2217 ? "telnet(rfc2217)," : "")
                          << (noDelay ? "tcp(nodelay)," : "tcp,")
                          << "127.0.0.1," << port_ << "\n"
                          << "  connector: serialdev," << device << "," << lineSettings << ",local\n"
                          << "  options:\n"
                          << "    chardelay: false\n"
                          << "    kickolduser: true\n";
    const std::string log = folder_ / "ser2net.log";
    pid_ = ::fork();
    if (pid_ == 0) {
      ::setpgid(0, 0);
      const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
      const std::string pidFile = folder_ / "ser2net.pid";
      ::execl(kSer2netExe, kSer2netExe, "-n", "-u", "-P", pidFile.c_str(), "-c", config.c_str(), nullptr);
      ::_exit(127);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      if (Accepts(port_)) return true;
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Kill();
    return false;
  }

  // "rfc2217://127.0.0.1:PORT" or "socket://127.0.0.1:PORT".
  std::string Url() const { return NetworkUrl({protocol_, "127.0.0.1", port_}); }
  int Port() const { return port_; }
  // Ends the server at once, as a crash or a pulled network cable would.
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  ScratchFolder folder_;
  pid_t pid_ = -1;
  int port_ = 0;
  NetworkProtocol protocol_ = NetworkProtocol::Rfc2217;
};

}  // namespace brixo::testing
