#pragma once
// Starting the simulated controller with a saved configuration: the file is loaded into a
// scratch configuration and written to the simulator with "Write All", exactly as a user
// would put it on a real controller.
#include <string>

#include "link/clock.h"
#include "link/user_prompt.h"
#include "sim/sim_serial_port.h"

namespace brixo {

// False when the file could not be loaded or the write met a problem (both shown through
// prompt). The application's own configuration is not touched.
bool PreloadSimulator(SimSerialPort& line, Clock& clock, UserPrompt& prompt, const std::string& path);

}  // namespace brixo
