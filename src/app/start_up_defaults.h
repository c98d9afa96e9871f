#pragma once
// What a fresh configuration holds when the program starts: the model, the General tab
// and the event-control table, before any file or controller has filled them.
#include "model/pin_model.h"
#include "transfer/event_control_state.h"
#include "transfer/general_settings_state.h"

namespace brixo {

// Event fields at "-1" copied to every pin ("Copy to All"), baud list entry 0, every pin
// with one address of each kind, no device, numbering from 1.
void ApplyStartUpDefaults(ConfigModel& model, GeneralSettings& general, EventControlState& events);

}  // namespace brixo
