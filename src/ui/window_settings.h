#pragma once
// The window's remembered settings in QSettings: the port, the link settings, the
// numbering, the recent files, the window's place and size and each file dialog's folder.
// The command line wins: a port named there (or the simulator) is not replaced by the
// remembered one.
#include <string>

#include "app/remembered_settings.h"

class QSettings;

namespace brixo {

class BrixoConfig;
class QtFileChooser;

RememberedSettings ReadRememberedSettings(QSettings& settings);
void WriteRememberedSettings(QSettings& settings, const RememberedSettings& remembered);

// Before the window is shown: everything but the port.
void RestoreWindowSettings(QSettings& settings, BrixoConfig& window, QtFileChooser& chooser);
// Once the window is on screen (so that a port that will not open is told over it): opens
// the device named on the command line (the simulator's name for --simulate) or, without
// one, the remembered port when it is plugged in. True when a port was opened.
bool OpenStartPort(QSettings& settings, BrixoConfig& window, const std::string& commandLineDevice);
// When the program ends.
void SaveWindowSettings(QSettings& settings, BrixoConfig& window, const QtFileChooser& chooser);

}  // namespace brixo
