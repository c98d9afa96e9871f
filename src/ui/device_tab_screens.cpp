// Pictures of the "Brixo Device Configuration" tab with a signal loaded, and of its
// dialogs, for the documentation.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QScrollArea>
#include <algorithm>

#include "app/app_state.h"
#include "ui/calc_event_map_dialog.h"
#include "ui/calc_pattern_dialog.h"
#include "ui/calc_time_dialog.h"
#include "ui/device_config_tab.h"
#include "ui/edit_aspect_dialog.h"
#include "ui/edit_pin_dialog.h"
#include "ui/edit_step_dialog.h"

namespace brixo {

namespace {

constexpr const char* kSignalName = "Signal 4-aspect";

bool Save(QWidget& widget, const QString& path) {
  widget.setAttribute(Qt::WA_DontShowOnScreen);
  widget.show();
  QApplication::processEvents();
  const bool saved = widget.grab().save(path);
  widget.hide();
  return saved;
}

// Offers the library's four-aspect signal for the first pins, shown with their details.
void LoadSignal(AppState& app) {
  // The first pins hold what was read from the controller, so loading asks whether to
  // overwrite them; nobody answers while pictures are taken, and the cautious answer
  // (No) keeps them: the picture shows the signal chosen in the library over the pins
  // as read, the same signal in the demonstration layout.
  app.Model().CurrentAspect = 0;
  LoadLibraryDevice(app, kSignalName, 0);
  app.Model().CurrentAspect = 0;
  app.Pins().ShowDetails(true);
  app.View().ShowPin();
  app.View().ShowOutputConfig();
}

}  // namespace

bool LoadLibraryDevice(AppState& app, const std::string& name, int pin) {
  DeviceLibrary& library = app.Devices();
  for (size_t i = 0; i < library.cboDevice.size(); ++i) {
    if (library.cboDevice[i].rfind(name, 0) != 0) continue;
    app.Model().CurrentPin = static_cast<uint8_t>(pin);
    SelectDevice(library, static_cast<int>(i));
    return LoadDevice(app.DeviceFiles());
  }
  return false;
}

bool RenderDeviceTabScreens(AppState& app, const QString& dir) {
  if (!QDir().mkpath(dir)) return false;
  const QDir folder(dir);
  LoadSignal(app);

  DeviceConfigTab tab;
  tab.Bind(app);
  // As wide as a 1024 x 768 window leaves it, and as high as it needs with every detail.
  tab.resize(1010, 560);
  tab.setAttribute(Qt::WA_DontShowOnScreen);
  tab.show();
  QApplication::processEvents();
  if (const auto* scroll = tab.findChild<QScrollArea*>("DeviceConfigScroll"))
    tab.resize(1010, std::max(560, scroll->widget()->minimumSizeHint().height()));
  if (!Save(tab, folder.filePath("device_tab_signal.png"))) return false;

  PatternPreset pattern;
  pattern.Outputs = {true, false, true, false, false, false, false};
  pattern.OutputEnabled = {true, true, true, true, false, false, false};
  pattern.DarkEnabled = true;
  pattern.AllDark = true;
  pattern.Original = "37";
  tab.PatternDialog()->Preset(pattern);
  EventMapPreset events;
  events.Events = {false, true, false, true};
  events.Mode = 6;
  events.Original = "106";
  tab.EventMapDialog()->Preset(events);
  tab.TimeDialog()->Preset("1", 50);
  tab.StepDialog()->SetCurrentStep(2);

  const std::pair<QDialog*, const char*> dialogs[] = {
      {tab.PinDialog(), "dialog_edit_pin.png"},
      {tab.AspectDialog(), "dialog_edit_aspect.png"},
      {tab.StepDialog(), "dialog_edit_step.png"},
      {tab.PatternDialog(), "dialog_calc_pattern.png"},
      {tab.EventMapDialog(), "dialog_calc_event_map.png"},
      {tab.TimeDialog(), "dialog_calc_time.png"},
  };
  for (const auto& [dialog, file] : dialogs) {
    if (!Save(*dialog, folder.filePath(file))) return false;
  }
  return true;
}

}  // namespace brixo
