#include "app/simulated_line.h"

#include "app/simulator_preload.h"

namespace brixo {

bool SetUpSimulatedControllers(SimSerialPort& line, const std::vector<SimLineController>& controllers, Clock& clock,
                               UserPrompt& prompt) {
  for (size_t i = 0; i < controllers.size(); ++i) {
    const SimLineController& entry = controllers[i];
    SimController& c = i == 0 ? line.Controller() : line.Controllers().Add(entry.Module);
    c.SetModuleAddress(entry.Module);
    if (!entry.LoadPath.empty() && !PreloadController(c, clock, prompt, entry.LoadPath)) return false;
    // The file brings its own extended address; the one given for the line wins.
    if (entry.Extended) c.Memory().ModuleXAddress = static_cast<uint8_t>(*entry.Extended);
    // Faults count frames from here on, so the start-up file's own are not among them.
    c.Faults() = entry.Faults;
  }
  return true;
}

}  // namespace brixo
