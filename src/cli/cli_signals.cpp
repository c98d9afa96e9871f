#include "cli/cli_signals.h"

namespace brixo {

namespace {

// The token a signal trips. A handler can reach nothing else; set only while a command runs.
CancellationToken* signalledToken = nullptr;

extern "C" void StopOnSignal(int) {
  if (signalledToken != nullptr) signalledToken->Trip(StopReason::Interrupted);
}

}  // namespace

SignalsStop::SignalsStop(CancellationToken& token) {
  signalledToken = &token;
  struct sigaction action {};
  action.sa_handler = StopOnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previousInt_);
  sigaction(SIGTERM, &action, &previousTerm_);
}

SignalsStop::~SignalsStop() {
  sigaction(SIGINT, &previousInt_, nullptr);
  sigaction(SIGTERM, &previousTerm_, nullptr);
  signalledToken = nullptr;
}

}  // namespace brixo
