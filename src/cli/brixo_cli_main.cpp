// brixo-cli: the command-line companion of BrixoConfig.
#include <csignal>
#include <string>
#include <vector>

#include "cli/cli_commands.h"

int main(int argc, char** argv) {
  // A reader of standard output that goes away (| head) must not kill a controller exchange.
  std::signal(SIGPIPE, SIG_IGN);
  return brixo::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
