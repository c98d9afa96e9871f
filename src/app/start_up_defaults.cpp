#include "app/start_up_defaults.h"

#include "transfer/event_control.h"

namespace brixo {

void ApplyStartUpDefaults(ConfigModel& model, GeneralSettings& general, EventControlState& events) {
  model.NumberingOffset = 1;
  model.CurrentPin = 0;
  model.CurrentAspect = 0;

  general.FlexAddress = 0;
  general.ModuleXAddress = 0;
  general.QuietAddressUpdate = false;

  events.CurrentEventPin = 0;
  events.TextECon.fill("-1");
  events.TextECoff.fill("-1");
  CopyEventActionsToAll(events);

  general.ComboGenBaud = 0;

  for (PinRecord& pin : model.PinTable) {
    pin.DccAddressCount = 1;
    pin.XDccAddressCount = 1;
    pin.SerialAddressCount = 1;
    pin.DevicePointer = 0;
    pin.DeviceDescription.clear();
  }
}

}  // namespace brixo
