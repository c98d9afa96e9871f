#pragma once
// The window's remembered settings in QSettings: the port, the link settings, the
// numbering, the recent files, the window's place and size and each file dialog's folder.
// The command line wins: a port named there (or the simulator) is not replaced by the
// remembered one.
#include <QString>
#include <memory>
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

// Where the window keeps its settings: BrixoConfig/BrixoConfig.conf in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
QString DefaultSettingsPath();

// The settings file of one run. It is read only while it is a regular file (or a link to
// one) and written only over one, or where there is none: a FIFO would block the window
// before it appears, and a save through a link to a device would replace the device node.
// Anything else is left alone; Problem() then says why, and the window starts with its
// defaults and closes without saving.
class WindowSettingsFile {
 public:
  explicit WindowSettingsFile(const QString& path);
  ~WindowSettingsFile();
  WindowSettingsFile(const WindowSettingsFile&) = delete;
  WindowSettingsFile& operator=(const WindowSettingsFile&) = delete;

  // "Settings not read: <path> is not a regular file"; empty while the file is used.
  const std::string& Problem() const { return problem_; }

  void Restore(BrixoConfig& window, QtFileChooser& chooser);
  bool OpenStartPort(BrixoConfig& window, const std::string& commandLineDevice);
  // Looks at the file again first: what became of it since the start counts.
  void Save(BrixoConfig& window, const QtFileChooser& chooser);

 private:
  QString path_;
  std::unique_ptr<QSettings> settings_;
  std::string problem_;
};

}  // namespace brixo
