// Remembered settings: what a user set in one run is on screen in the next, the command
// line wins over the remembered port, the File menu lists the recent files and loads them,
// and the port list follows adapters that are plugged in and out. Settings go to a scratch
// file, never to the user's own.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/recent_files.h"
#include "support/fake_serial_server.h"
#include "ui/qt_file_chooser.h"
#include "ui/window_settings.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class WindowSettingsTest : public MainWindowTest {
 protected:
  QString SettingsFile() const { return dir_.filePath("BrixoConfig.conf"); }
  QTemporaryDir dir_;
};

// The state and the window of a second run, reading the same settings file.
struct NextRun {
  using Tweak = std::function<void(AppStateOptions&)>;
  explicit NextRun(const Tweak& tweak = {}) : app(prompt, chooser, Options(tweak)), window(app) {
    window.Timer1()->stop();
  }
  AppStateOptions Options(const Tweak& tweak) {
    AppStateOptions options = testing::SimulatedAppOptions(clock);
    if (tweak) tweak(options);
    return options;
  }
  template <typename Widget = QWidget>
  Widget* Find(const QString& name) { return window.findChild<Widget*>(name); }
  ManualClock clock;
  testing::RecordingPrompt prompt;
  testing::ScriptedChooser chooser;
  QtFileChooser dialogs;
  AppState app;
  BrixoConfig window;
};

TEST_F(WindowSettingsTest, WhatTheUserSetIsOnScreenInTheNextRun) {
  SelectSimulatedPort();
  Find<QCheckBox>("CheckKLnumber")->click();        // numbering from 0
  Find<QRadioButton>("OptionBitRate_2")->click();   // 38k4
  Type("TextAddress", "6");
  Find<QCheckBox>("CheckBrixoBD")->click();         // bidirectional off
  app.SetRecentFiles({"/layouts/station.dat", "/layouts/yard.dat"});
  window.resize(900, 650);
  QtFileChooser dialogs;
  dialogs.SetFolders({{"Brixo Config Data", "/layouts"}, {"Verification Report", "/reports"}});
  {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    SaveWindowSettings(settings, window, dialogs);
  }

  NextRun next;
  ASSERT_EQ(next.Find<QCheckBox>("CheckKLnumber")->isChecked(), true) << "the defaults before restoring";
  QSettings settings(SettingsFile(), QSettings::IniFormat);
  RestoreWindowSettings(settings, next.window, next.dialogs);
  EXPECT_FALSE(next.Find<QCheckBox>("CheckKLnumber")->isChecked());
  EXPECT_TRUE(next.Find<QRadioButton>("OptionBitRate_2")->isChecked());
  EXPECT_EQ(next.Find<UpDownField>("TextAddress")->Text(), "6");
  EXPECT_FALSE(next.Find<QCheckBox>("CheckBrixoBD")->isChecked());
  EXPECT_EQ(next.window.size(), QSize(900, 650));
  EXPECT_EQ(next.dialogs.Folders(), dialogs.Folders());
  QMenu* recent = next.Find<QMenu>("MenuRecentFiles");
  ASSERT_NE(recent, nullptr);
  ASSERT_EQ(recent->actions().size(), 2);
  EXPECT_EQ(recent->actions()[0]->text(), "&1 /layouts/station.dat");
  EXPECT_EQ(recent->actions()[1]->text(), "&2 /layouts/yard.dat");

  // The remembered port opens once the window shows, at the remembered bit rate.
  EXPECT_FALSE(next.app.Ports().PortOpen());
  EXPECT_TRUE(OpenStartPort(settings, next.window, ""));
  EXPECT_EQ(next.app.Ports().OpenDevice(), kSimulatedPortName);
  EXPECT_EQ(next.Find<QLabel>("LabelPortState")->text(), QString("Open: %1 (38400,o,8,1)").arg(kSimulatedPortName));
}

TEST_F(WindowSettingsTest, APortNamedOnTheCommandLineWinsOverTheRememberedOne) {
  SelectSimulatedPort();
  {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    SaveWindowSettings(settings, window, QtFileChooser());
  }
  NextRun next([](AppStateOptions& options) { options.ExtraDevices = {"/dev/brixo-test-no-such-device"}; });
  QSettings settings(SettingsFile(), QSettings::IniFormat);
  RestoreWindowSettings(settings, next.window, next.dialogs);
  EXPECT_FALSE(OpenStartPort(settings, next.window, "/dev/brixo-test-no-such-device"));
  EXPECT_FALSE(next.app.Ports().PortOpen()) << "the simulator was not opened instead";
  EXPECT_TRUE(next.Find<QComboBox>("ComboPort")->currentText().contains("/dev/brixo-test-no-such-device"));
}

TEST_F(WindowSettingsTest, AnEmptyOrForeignSettingsFileLeavesTheDefaults) {
  const auto shown = [](NextRun& run) {
    return std::vector<bool>{run.Find<QCheckBox>("CheckKLnumber")->isChecked(),
                             run.Find<QCheckBox>("CheckBrixoBD")->isChecked(),
                             run.Find<QRadioButton>("OptionBitRate_1")->isChecked()};
  };
  NextRun fresh;
  const std::vector<bool> defaults = shown(fresh);
  for (const char* contents : {"", "[link]\nbitRate=7\nmoduleAddress=many\n[port]\ndevice=\n"}) {
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
    file.close();
    NextRun next;
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    RestoreWindowSettings(settings, next.window, next.dialogs);
    EXPECT_EQ(shown(next), defaults) << contents;
    EXPECT_FALSE(OpenStartPort(settings, next.window, ""));
    EXPECT_TRUE(next.prompt.Messages.empty());
  }
}

// The settings file is read only while it is a regular file, and written only over one or
// where there is none. Anything else is left as it is, with a message: the window starts
// with its defaults and closes without writing there (a FIFO would block the start, and a
// save through a link to a device would replace the device node).
TEST_F(WindowSettingsTest, ASettingsFileThatIsNoRegularFileIsLeftAlone) {
  struct Target {
    const char* name;
    std::function<bool(const std::string& path, const std::string& folder)> make;  // false: not here
    bool used;
  };
  const Target targets[] = {
      {"nothing yet", [](const std::string&, const std::string&) { return true; }, true},
      {"regular file",
       [](const std::string& path, const std::string&) { return QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly); },
       true},
      {"FIFO", [](const std::string& path, const std::string&) { return mkfifo(path.c_str(), 0600) == 0; }, false},
      {"link to a FIFO",
       [](const std::string& path, const std::string& folder) {
         return mkfifo((folder + "/fifo").c_str(), 0600) == 0 && symlink((folder + "/fifo").c_str(), path.c_str()) == 0;
       },
       false},
      {"link to a device node",
       [](const std::string& path, const std::string& folder) {
         return mknod((folder + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 &&
                symlink((folder + "/null").c_str(), path.c_str()) == 0;
       },
       false},
      {"folder", [](const std::string& path, const std::string&) { return mkdir(path.c_str(), 0700) == 0; }, false},
  };
  for (const Target& target : targets) {
    SCOPED_TRACE(target.name);
    QTemporaryDir scratch;
    const std::string folder = scratch.path().toStdString();
    const std::string path = folder + "/BrixoConfig.conf";
    if (!target.make(path, folder)) {
      std::printf("%s: cannot be made here, not tried\n", target.name);
      continue;
    }
    struct stat before {};
    stat(path.c_str(), &before);

    WindowSettingsFile file(QString::fromStdString(path));
    NextRun run;
    file.Restore(run.window, run.dialogs);
    EXPECT_TRUE(run.Find<QCheckBox>("CheckKLnumber")->isChecked()) << "the default numbering";
    run.Find<QCheckBox>("CheckKLnumber")->click();
    file.Save(run.window, run.dialogs);
    if (target.used) {
      EXPECT_EQ(file.Problem(), "");
      NextRun next;
      WindowSettingsFile again(QString::fromStdString(path));
      again.Restore(next.window, next.dialogs);
      EXPECT_FALSE(next.Find<QCheckBox>("CheckKLnumber")->isChecked()) << "saved and read back";
      continue;
    }
    EXPECT_EQ(file.Problem().rfind("Settings not saved: " + path + ": ", 0), 0u) << file.Problem();
    struct stat after {};
    stat(path.c_str(), &after);
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT) << "what lies there stays what it was";
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(WindowSettingsFile(QString::fromStdString(path)).Problem().rfind("Settings not read: " + path + ": ", 0), 0u);
  }
}

TEST_F(WindowSettingsTest, TheRecentFilesMenuFollowsLoadsAndSavesAndLoadsItsEntries) {
  QMenu* recent = Find<QMenu>("MenuRecentFiles");
  ASSERT_NE(recent, nullptr);
  EXPECT_FALSE(recent->isEnabled()) << "nothing to offer yet";
  const std::string demo = std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat";
  const std::string copy = (std::filesystem::temp_directory_path() / "brixo_recent_menu.dat").string();
  chooser.Answers = {demo};
  Click("CommandLoad");
  chooser.Answers = {copy};
  window.findChild<QAction*>("ActionSaveAs")->trigger();
  ASSERT_EQ(recent->actions().size(), 2);
  EXPECT_TRUE(recent->isEnabled());
  EXPECT_EQ(recent->actions()[0]->text(), QString("&1 %1").arg(QString::fromStdString(copy)));

  // Choosing an entry loads that file: what it holds is on screen.
  Find<QLineEdit>("TextGenIDString")->setText("changed");
  recent->actions()[1]->trigger();
  EXPECT_EQ(Text("LabelLastResult"), "Loaded demo.dat");
  EXPECT_EQ(recent->actions()[0]->text(), QString("&1 %1").arg(QString::fromStdString(demo)));
  // An entry whose file has gone says so and leaves the menu.
  std::filesystem::remove(copy);
  recent->actions()[1]->trigger();
  EXPECT_EQ(recent->actions().size(), 1);
  EXPECT_EQ(Text("LabelLastResult"), "brixo_recent_menu.dat not loaded");
}

TEST_F(WindowSettingsTest, ThePortListFollowsAdaptersAndKeepsTheOpenPort) {
  std::vector<SerialDeviceInfo> machine;
  NextRun run([&machine](AppStateOptions& options) { options.Scanner = [&machine] { return machine; }; });
  QComboBox* combo = run.Find<QComboBox>("ComboPort");
  ASSERT_TRUE(run.window.SelectDevice(kSimulatedPortName));
  ASSERT_EQ(combo->count(), 2) << "the simulator and \"Network Port...\"";

  machine.push_back({"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A12345", "/dev/serial/by-id/usb-FTDI-A12345", true});
  run.window.RescanPorts();
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), QString::fromUtf8("1 /dev/ttyUSB0 \u2014 FT232R USB UART (A12345)"));
  EXPECT_TRUE(combo->itemData(0, Qt::ToolTipRole).toString().contains("Serial number: A12345"));
  EXPECT_EQ(combo->currentText(), QString("2 %1").arg(kSimulatedPortName)) << "the open port keeps its place";
  EXPECT_TRUE(run.app.Ports().PortOpen());
  EXPECT_TRUE(run.prompt.Messages.empty());

  machine.clear();
  run.window.RescanPorts();
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentText(), QString("1 %1").arg(kSimulatedPortName));
  EXPECT_TRUE(run.app.Ports().PortOpen());
}

// A network port is remembered by its URL and opened again in the next run, though no
// scan of the machine lists it.
TEST_F(WindowSettingsTest, ARememberedNetworkPortOpensAgain) {
  testing::FakeSerialServer server({});
  const std::string url = "rfc2217://127.0.0.1:" + std::to_string(server.Port());
  ASSERT_TRUE(window.SelectDevice(url));
  {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    SaveWindowSettings(settings, window, QtFileChooser());
  }
  app.Ports().ListSerialPorts();  // closes it: one client at a time
  NextRun next;
  QSettings settings(SettingsFile(), QSettings::IniFormat);
  RestoreWindowSettings(settings, next.window, next.dialogs);
  EXPECT_TRUE(OpenStartPort(settings, next.window, ""));
  EXPECT_EQ(next.app.Ports().OpenDevice(), url);
  EXPECT_TRUE(next.Find<QComboBox>("ComboPort")->currentText().endsWith(
      QString(" 127.0.0.1:%1 (RFC 2217)").arg(server.Port())));
  EXPECT_TRUE(next.prompt.Messages.empty());
}

}  // namespace
}  // namespace brixo::window_test
