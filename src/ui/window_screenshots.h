#pragma once
// Pictures of the window for the documentation: each tab of the main window, the
// communication monitor and the verification report, rendered off screen as PNG files.
#include <QString>
#include <QStringList>

namespace brixo {

class BrixoConfig;

// With the simulated controller in the port list, the pictures show a configuration read
// from it and verified against it. The tabs add their own pictures (a tab alone, its
// dialogs). Returns every picture in the folder; empty when one could not be written.
QStringList RenderWindowScreenshots(BrixoConfig& window, const QString& dir);

// With the simulated controller in the port list: opens it, reads it and verifies it, so
// that pictures show real values.
void ReadFromSimulator(BrixoConfig& window);
// A verification that finds one difference (a step of the first pin changed, then put
// back), for pictures of the report.
void VerifyWithADifference(BrixoConfig& window);

}  // namespace brixo
