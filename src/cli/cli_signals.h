#pragma once
// While a command runs, Ctrl-C and SIGTERM stop its operation after the exchange in flight
// (and every later one), so that it ends in order: no half-written file, a sentence on how
// far it got. Not restarting interrupted calls lets a question on the terminal end too.
#include <signal.h>

#include "link/cancellation_token.h"

namespace brixo {

class SignalsStop {
 public:
  // The token the signals trip while this object lives; one at a time.
  explicit SignalsStop(CancellationToken& token);
  ~SignalsStop();
  SignalsStop(const SignalsStop&) = delete;
  SignalsStop& operator=(const SignalsStop&) = delete;

 private:
  struct sigaction previousInt_ {};
  struct sigaction previousTerm_ {};
};

}  // namespace brixo
