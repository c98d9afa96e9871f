#include "app/pin_overview_source.h"

#include "app/app_state.h"
#include "app/baseline_changes.h"

namespace brixo {

void RefreshPinOverview(AppState& app, PinOverview& overview) {
  overview.Refresh(app.Model(), app.Pins().Addresses().Inputs(), PinsChangedSinceBaseline(app));
}

}  // namespace brixo
