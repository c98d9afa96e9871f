#include "ui/window_screenshots.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTabWidget>

#include "app/help_files.h"
#include "ui/brixo_config_window.h"
#include "ui/communication_window.h"
#include "ui/device_config_tab.h"
#include "ui/event_test_screenshots.h"
#include "ui/core_text.h"
#include "ui/difference_table_window.h"
#include "ui/pin_overview_window.h"
#include "ui/verification_report_window.h"

namespace brixo {

// Reads the simulated controller and verifies it, so that the pictures show real values.
void ReadFromSimulator(BrixoConfig& window) {
  AppState& app = window.App();
  if (app.Simulator() == nullptr) return;
  for (const std::string& item : app.Ports().ComboPortItems()) {
    if (item.find(kSimulatedPortName) == std::string::npos) continue;
    if (!app.Ports().SelectPort(item)) return;
    window.ShowAll();
    for (const char* command : {"ReadAll", "VerifyAll"}) {
      if (window.PostCommand(command)) window.Timer1Tick();
    }
    return;
  }
}

// The report's picture shows what a difference looks like: one step of the first pin is
// changed for a second verification, then put back.
void VerifyWithADifference(BrixoConfig& window) {
  AppState& app = window.App();
  if (!app.Ports().PortOpen()) return;
  StepRecord& step = app.Model().PinTable[0].Aspects[0].Steps[0];
  const StepRecord kept = step;
  step.Par1 = static_cast<uint8_t>(step.Par1 + 1);
  if (window.PostCommand("VerifyAll")) window.Timer1Tick();
  step = kept;
  app.View().ShowPin();
}

namespace {

constexpr QSize kScreenshotSize(1024, 768);

// The whole window with each tab selected; the tabs' own pictures (a tab alone, the
// dialogs) come from the tabs and carry other names.
constexpr const char* kTabFiles[] = {"window_general.png", "window_event_control.png",
                                     "window_device_configuration.png", "window_test.png"};

bool Save(QWidget& widget, const QString& path) {
  widget.ensurePolished();
  QApplication::processEvents();
  return widget.grab().save(path);
}

// The device tab with a program that repeats itself on its time line: the demo's "Fire
// flicker" (pin 17, aspect 3), whose random waits run again and again.
bool SaveTimeLine(BrixoConfig& window, const QString& path) {
  AppState& app = window.App();
  ConfigModel& model = app.Model();
  const uint8_t pin = model.CurrentPin;
  const uint8_t aspect = model.CurrentAspect;
  const bool details = app.Pins().Editor().View().CheckPAspShowDetails;
  // Without the details the words and the picture stand beside the step rows.
  app.Pins().ShowDetails(false);
  window.ShowDetails();
  window.SSTab_Main()->setCurrentIndex(kDeviceConfigurationTab);
  window.DevicePage()->OpenPin(16);
  app.Pins().Editor().CommitAspect("3");
  window.DevicePage()->ShowPin();
  // The words and the picture change their heights: the nested layouts settle in turns.
  for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
  const bool saved = Save(window, path);
  app.Pins().ShowDetails(details);
  window.ShowDetails();
  window.DevicePage()->OpenPin(pin);
  app.Pins().Editor().CommitAspect(std::to_string(aspect));
  window.DevicePage()->ShowPin();
  window.SSTab_Main()->setCurrentIndex(0);
  return saved;
}

// The overview with one pin changed since the read, as a user sees it after an edit.
bool SaveOverview(BrixoConfig& window, const QString& path) {
  AppState& app = window.App();
  StepRecord& step = app.Model().PinTable[9].Aspects[1].Steps[0];
  const StepRecord kept = step;
  step.Par1 = static_cast<uint8_t>(step.Par1 + 1);
  window.OpenPinOverview();
  window.Overview()->resize(kScreenshotSize);
  const bool saved = Save(*window.Overview(), path);
  window.Overview()->hide();
  step = kept;
  return saved;
}

// "Compare" with a few fields changed in the editor: the differences as a table.
bool SaveCompareTable(BrixoConfig& window, const QString& path) {
  AppState& app = window.App();
  if (!app.Ports().PortOpen()) return true;
  const EditorContent kept{app.Model().PinTable, app.General(), app.Events()};
  app.General().TextGenIDString = "Yard East";
  StepRecord& step = app.Model().PinTable[0].Aspects[1].Steps[1];
  step.Par1 = static_cast<uint8_t>(step.Par1 + 1);
  app.Model().PinTable[2].Aspects[0].Steps[2].Par2 = 30;
  app.Events().OnAction[4][1] = 3;
  app.General().ComboGenBaud = 4;
  if (window.PostCommand("Compare")) window.Timer1Tick();
  app.Model().PinTable = kept.Pins;
  app.General() = kept.General;
  app.Events() = kept.Events;
  window.ShowAll();
  if (window.CompareTable() == nullptr) return true;
  window.CompareTable()->resize(kScreenshotSize.width(), kScreenshotSize.height() / 2);
  const bool saved = Save(*window.CompareTable(), path);
  window.CompareTable()->hide();
  return saved;
}

}  // namespace

QStringList RenderWindowScreenshots(BrixoConfig& window, const QString& dir) {
  QStringList written;
  if (!QDir().mkpath(dir)) return {};
  const QDir folder(dir);
  // The report is looked at, not waited on.
  window.SetReportPresenter([](VerificationReportWindow&) {});
  window.App().SetExpertMode(true);
  // The smallest screen the window is made for.
  window.resize(kScreenshotSize);
  window.show();
  ReadFromSimulator(window);

  for (int tab = 0; tab < window.SSTab_Main()->count(); ++tab) {
    window.SSTab_Main()->setCurrentIndex(tab);
    const QString path = folder.filePath(tab < 4 ? kTabFiles[tab] : QString("tab_%1.png").arg(tab));
    if (!Save(window, path)) return {};
    written << path;
  }
  window.SSTab_Main()->setCurrentIndex(0);

  VerifyWithADifference(window);

  window.OpenMonitor();
  const QString monitorPath = folder.filePath("window_communication_monitor.png");
  if (!Save(*window.Monitor(), monitorPath)) return {};
  written << monitorPath;
  window.Monitor()->hide();

  VerificationReportWindow& report = window.Report();
  report.show();
  const QString reportPath = folder.filePath("window_verification_report.png");
  if (!Save(report, reportPath)) return {};
  written << reportPath;
  report.hide();

  if (!RenderEventAndTestTabs(window.App(), dir) || !RenderDeviceTabScreens(window.App(), dir)) return {};

  // The overview and the time line read best with the pins' descriptions, which a controller
  // does not hold: the demo file gives them.
  const std::string demo = FindDemoDataFile(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
  if (!demo.empty()) window.App().LoadRecentFile(demo);
  window.ShowAll();
  if (!SaveTimeLine(window, folder.filePath("window_aspect_time_line.png")) ||
      !SaveOverview(window, folder.filePath("window_pin_overview.png")) ||
      !SaveCompareTable(window, folder.filePath("window_compare_table.png")))
    return {};
  written.clear();
  for (const QString& file : folder.entryList({"*.png"}, QDir::Files, QDir::Name)) written << folder.filePath(file);
  return written;
}

}  // namespace brixo
