#pragma once
// Which tab and which control of the window show a field of the field table: where a
// double-click in the differences table and an undone edit lead the user.
#include <QString>

#include "transfer/config_fields.h"

namespace brixo {

// kGeneralTab, kEventControlTab or kDeviceConfigurationTab.
int TabOfField(const FieldId& id);
// The object name of the control that holds the field (or of the frame that holds its
// boxes); `outputType` is the pin's, which decides the output page.
QString WidgetOfField(const FieldId& id, int outputType);

}  // namespace brixo
