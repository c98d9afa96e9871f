#pragma once
// Starting a simulated controller with a saved configuration: the file is loaded into a
// scratch configuration and written to the controller with "Write All", exactly as a user
// would put it on a real controller on the bench, connected to it alone.
#include <string>

#include "link/clock.h"
#include "link/user_prompt.h"
#include "sim/sim_controller.h"
#include "sim/sim_serial_port.h"

namespace brixo {

// False when the file could not be loaded or the write met a problem (both shown through
// prompt). The application's own configuration is not touched, nor is the line the
// controller sits on. The extended address the file holds is written with the rest.
bool PreloadController(SimController& controller, Clock& clock, UserPrompt& prompt, const std::string& path);
// The first controller of the line.
bool PreloadSimulator(SimSerialPort& line, Clock& clock, UserPrompt& prompt, const std::string& path);

}  // namespace brixo
