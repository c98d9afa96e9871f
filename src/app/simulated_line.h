#pragma once
// Several simulated controllers on one line, as brixo-sim's --modules and --load set them
// up: each with its module address, its extended address and its own memory, optionally
// started with a data file, and the faults it shows.
#include <vector>

#include "link/clock.h"
#include "link/user_prompt.h"
#include "sim/sim_options.h"
#include "sim/sim_serial_port.h"

namespace brixo {

// The line's first controller takes the first entry, the others are added. False when a
// start-up file could not be loaded or written (told through prompt).
bool SetUpSimulatedControllers(SimSerialPort& line, const std::vector<SimLineController>& controllers, Clock& clock,
                               UserPrompt& prompt);

}  // namespace brixo
