#pragma once
// Escape closes a window beside the main one (the communication monitor, the help, the pin
// overview), as it closes a dialog.
class QWidget;

namespace brixo {

void CloseOnEscape(QWidget& window);

}  // namespace brixo
