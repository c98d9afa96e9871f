#pragma once
// The pin overview of the application's configuration: the addresses as the link and
// General settings give them now, the changed marks against the baseline. The overview
// window and `brixo-cli addresses` both fill their overview here.
#include "model/pin_overview.h"

namespace brixo {

class AppState;

void RefreshPinOverview(AppState& app, PinOverview& overview);

}  // namespace brixo
