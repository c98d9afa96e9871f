#pragma once
// Pictures of the "Brixo Event Control" and "Test" tabs for the main window's
// --screenshot DIR: "event_control_tab.png" and "test_tab.png".
#include <QString>

namespace brixo {

class AppState;

// Renders both tabs as the application state shows them; false when a file could not be
// written.
bool RenderEventAndTestTabs(AppState& app, const QString& dir);

}  // namespace brixo
