#include "ui/guide_pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QScrollArea>
#include <QTabWidget>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "app/help_files.h"
#include "sim/sim_serial_port.h"
#include "ui/brixo_config_window.h"
#include "ui/calc_event_map_dialog.h"
#include "ui/calc_time_dialog.h"
#include "ui/communication_window.h"
#include "ui/device_config_tab.h"
#include "ui/edit_pin_dialog.h"
#include "ui/network_port_dialog.h"
#include "ui/pin_overview_window.h"
#include "ui/scan_dialog.h"
#include "ui/verification_report_window.h"
#include "ui/window_screenshots.h"

namespace brixo {

namespace {

// The smallest screen the window is made for.
constexpr QSize kWindowSize(1024, 768);
// Free pins of the demo layout, where the guide's level crossing goes.
constexpr int kCrossingPin = 18;

using Take = std::function<bool(BrixoConfig&, const QString& path)>;

struct Picture {
  const char* File;
  Take Taken;
};

bool Grab(QWidget& widget, const QString& path) {
  // Nested layouts settle in turns when texts change their heights.
  for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
  return widget.grab().save(path);
}

// A dialog or window on its own, shown for the moment of the picture.
bool GrabAlone(QWidget& widget, const QString& path) {
  widget.setAttribute(Qt::WA_DontShowOnScreen);
  widget.show();
  const bool saved = Grab(widget, path);
  widget.hide();
  return saved;
}

bool GrabTab(BrixoConfig& window, int tab, const QString& path) {
  window.SSTab_Main()->setCurrentIndex(tab);
  return Grab(window, path);
}

bool GrabPart(BrixoConfig& window, int tab, const char* name, const QString& path) {
  window.SSTab_Main()->setCurrentIndex(tab);
  auto* part = window.findChild<QWidget*>(name);
  return part != nullptr && Grab(*part, path);
}

void ShowPin(BrixoConfig& window, int pin, int aspect, bool details) {
  AppState& app = window.App();
  app.Pins().ShowDetails(details);
  window.ShowDetails();
  window.SSTab_Main()->setCurrentIndex(kDeviceConfigurationTab);
  window.DevicePage()->OpenPin(pin);
  app.Pins().Editor().CommitAspect(std::to_string(aspect));
  window.DevicePage()->ShowPin();
}

// The port, addressing, link and whole-controller groups above the tabs.
bool GrabTopRow(BrixoConfig& window, const QString& path) {
  QWidget* central = window.centralWidget();
  const QPoint origin = central->mapTo(&window, QPoint(0, 0));
  QApplication::processEvents();
  return window.grab(QRect(origin, QSize(central->width(), window.SSTab_Main()->y()))).save(path);
}

// Three controllers answer: the demo's and two more, as on a layout's line.
bool GrabScan(BrixoConfig& window, const QString& path) {
  if (window.App().Simulator() == nullptr) return false;
  ControllerBus& bus = window.App().Simulator()->Controllers();
  bus.Add(5).Memory().IdString = "Yard East";
  bus.Add(9).Memory().IdString = "Depot";
  ScanDialog dialog(window.App(), &window);
  dialog.resize(560, 400);
  dialog.StartScan();
  for (int probe = 0; probe < 1000 && dialog.Scanning(); ++probe) dialog.StepScan();
  if (auto* list = dialog.findChild<QTreeWidget*>("ListScanFound"); list != nullptr && list->topLevelItemCount() > 1)
    list->setCurrentItem(list->topLevelItem(1));
  return GrabAlone(dialog, path);
}

bool GrabNetworkPort(BrixoConfig& window, const QString& path) {
  NetworkPortDialog dialog(NetworkAddress{NetworkProtocol::Rfc2217, "layout-pi", 3333}, &window);
  return GrabAlone(dialog, path);
}

bool GrabReport(BrixoConfig& window, const QString& path) {
  VerifyWithADifference(window);
  return GrabAlone(window.Report(), path);
}

bool GrabMonitor(BrixoConfig& window, const QString& path) {
  window.OpenMonitor();
  window.Monitor()->resize(760, 520);
  const bool saved = Grab(*window.Monitor(), path);
  window.Monitor()->hide();
  return saved;
}

bool GrabOverview(BrixoConfig& window, const QString& path) {
  window.OpenPinOverview();
  window.Overview()->resize(kWindowSize.width(), 560);
  const bool saved = Grab(*window.Overview(), path);
  window.Overview()->hide();
  return saved;
}

// The device tab alone with every detail, as high as it needs: the demo's first turnout.
bool GrabServo(BrixoConfig& window, const QString& path) {
  ShowPin(window, 8, 0, true);
  DeviceConfigTab tab;
  tab.Bind(window.App());
  tab.resize(kWindowSize.width() - 14, 560);
  tab.setAttribute(Qt::WA_DontShowOnScreen);
  tab.show();
  QApplication::processEvents();
  if (const auto* scroll = tab.findChild<QScrollArea*>("DeviceConfigScroll"))
    tab.resize(tab.width(), std::max(560, scroll->widget()->minimumSizeHint().height()));
  return GrabAlone(tab, path);
}

bool GrabCrossing(BrixoConfig& window, const QString& path) {
  if (!LoadLibraryDevice(window.App(), "Level crossing", kCrossingPin)) return false;
  ShowPin(window, kCrossingPin, 1, false);
  return Grab(window, path);
}

bool GrabEventMapCalculator(BrixoConfig& window, const QString& path) {
  EventMapPreset events;
  events.Events = {true, false, false, false};
  events.Mode = 1;
  events.Original = "17";
  window.DevicePage()->EventMapDialog()->Preset(events);
  return GrabAlone(*window.DevicePage()->EventMapDialog(), path);
}

bool GrabTimeCalculator(BrixoConfig& window, const QString& path) {
  // The signals' dark pause: Time 15, Base 0.
  window.DevicePage()->TimeDialog()->Preset("0", 15);
  return GrabAlone(*window.DevicePage()->TimeDialog(), path);
}

// Taken over the configuration read from the simulated controller.
const Picture kReadPictures[] = {
    {"main-window.png", [](BrixoConfig& w, const QString& p) { return GrabTab(w, kGeneralTab, p); }},
    {"top-row.png", GrabTopRow},
    {"report.png", GrabReport},
    {"monitor.png", GrabMonitor},
    {"scan-line.png", GrabScan},
    {"network-port.png", GrabNetworkPort},
};

// Taken over the demo file, whose pins have descriptions (a controller holds none).
const Picture kDemoPictures[] = {
    {"event-control-tab.png", [](BrixoConfig& w, const QString& p) { return GrabTab(w, kEventControlTab, p); }},
    {"device-tab.png",
     [](BrixoConfig& w, const QString& p) {
       ShowPin(w, 0, 0, false);
       return Grab(w, p);
     }},
    {"addresses.png",
     [](BrixoConfig& w, const QString& p) {
       ShowPin(w, 0, 0, true);
       return GrabPart(w, kDeviceConfigurationTab, "FrameAddresses", p);
     }},
    {"dcc-settings.png", [](BrixoConfig& w, const QString& p) { return GrabPart(w, kGeneralTab, "FrameGenDCC", p); }},
    {"aspect-time-line.png",
     [](BrixoConfig& w, const QString& p) {
       // "Fire flicker", whose random waits repeat.
       ShowPin(w, 16, 3, false);
       return GrabPart(w, kDeviceConfigurationTab, "FrameAspectProgram", p);
     }},
    {"edit-pin.png", [](BrixoConfig& w, const QString& p) { return GrabAlone(*w.DevicePage()->PinDialog(), p); }},
    {"event-map-calculator.png", GrabEventMapCalculator},
    {"time-calculator.png", GrabTimeCalculator},
    {"test-tab.png", [](BrixoConfig& w, const QString& p) { return GrabTab(w, kTestTab, p); }},
    {"pin-overview.png", GrabOverview},
    {"servo-turnout.png", GrabServo},
    // Last: it adds a device to the demo.
    {"level-crossing.png", GrabCrossing},
};

}  // namespace

QStringList GuidePictureFiles() {
  QStringList files;
  for (const Picture& picture : kReadPictures) files << picture.File;
  for (const Picture& picture : kDemoPictures) files << picture.File;
  return files;
}

QStringList RenderGuidePictures(BrixoConfig& window, const QString& dir) {
  if (!QDir().mkpath(dir)) return {};
  const QDir folder(dir);
  // The report is looked at, not waited on; the Test tab opens in expert mode only.
  window.SetReportPresenter([](VerificationReportWindow&) {});
  window.App().SetExpertMode(true);
  window.resize(kWindowSize);
  window.show();
  ReadFromSimulator(window);

  QStringList written;
  const auto take = [&](const Picture& picture) {
    const QString path = folder.filePath(picture.File);
    if (!picture.Taken(window, path)) return false;
    written << path;
    return true;
  };
  for (const Picture& picture : kReadPictures) {
    if (!take(picture)) return {};
  }
  const std::string demo = FindDemoDataFile(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
  if (demo.empty() || !window.App().LoadRecentFile(demo)) return {};
  window.ShowAll();
  for (const Picture& picture : kDemoPictures) {
    if (!take(picture)) return {};
  }
  window.SSTab_Main()->setCurrentIndex(kGeneralTab);
  return written;
}

}  // namespace brixo
