#include "app/baseline_changes.h"

#include "app/app_state.h"
#include "transfer/field_changes.h"

namespace brixo {

std::vector<FieldId> ChangedSinceBaseline(AppState& app) {
  const EditorContent& baseline = app.Baseline();
  ConfigModel before;
  before.PinTable = baseline.Pins;
  before.NumberingOffset = app.Model().NumberingOffset;
  const ConfigurationRef now{app.Model(), app.General(), app.Events()};
  return ChangedFields(now, ConfigurationRef{before, baseline.General, baseline.Events});
}

std::array<bool, kPinCount> PinsChangedSinceBaseline(AppState& app) {
  return PinsWithChanges(ChangedSinceBaseline(app));
}

}  // namespace brixo
