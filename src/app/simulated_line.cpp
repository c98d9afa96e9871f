#include "app/simulated_line.h"

#include "app/simulator_preload.h"

namespace brixo {

bool SetUpSimulatedControllers(SimSerialPort& line, const std::vector<SimControllerSpec>& controllers, Clock& clock,
                               UserPrompt& prompt) {
  for (size_t i = 0; i < controllers.size(); ++i) {
    const SimControllerSpec& spec = controllers[i];
    SimController& c = i == 0 ? line.Controller() : line.Controllers().Add(spec.Module);
    c.SetModuleAddress(spec.Module);
    if (!spec.LoadPath.empty() && !PreloadController(c, clock, prompt, spec.LoadPath)) return false;
    // The file brings its own extended address; the one given for the line wins.
    if (spec.Extended) c.Memory().ModuleXAddress = static_cast<uint8_t>(*spec.Extended);
  }
  return true;
}

}  // namespace brixo
