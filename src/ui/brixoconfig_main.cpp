// BrixoConfig: configure and test a Brixo accessory controller.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/app_state.h"
#include "app/help_files.h"
#include "app/program_version.h"
#include "link/qt_port_scanner.h"
#include "link/qt_serial_port.h"
#include "ui/brixo_config_window.h"
#include "ui/guide_pictures.h"
#include "ui/qt_file_chooser.h"
#include "ui/qt_user_prompt.h"
#include "ui/window_screenshots.h"
#include "ui/window_settings.h"

namespace {

bool HasOption(int argc, char** argv, const char* option) {
  const size_t length = std::strlen(option);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], option, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '=')) return true;
  }
  return false;
}

// Pictures are taken, and the usage is printed, without a screen; the platform must be
// chosen before Qt starts.
bool NeedsNoScreen(int argc, char** argv) {
  for (const char* option : {"--screenshot", "--guide-pictures", "--help", "-h", "--help-all", "--version", "-v"})
    if (HasOption(argc, argv, option)) return true;
  return false;
}

// Nobody answers questions while pictures are taken: every message goes to standard error
// and gets the cautious answer.
class UnattendedPrompt final : public brixo::UserPrompt {
 public:
  brixo::MessageAnswer ShowMessage(const std::string& text, brixo::MessageIcon,
                                   brixo::MessageButtons buttons) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (buttons) {
      case brixo::MessageButtons::OkCancel:
        return brixo::MessageAnswer::Cancel;
      case brixo::MessageButtons::YesNo:
        return brixo::MessageAnswer::No;
      case brixo::MessageButtons::SaveDiscardCancel:
        // The pictures' edits are not the user's to keep, and a refused close would hang.
        return brixo::MessageAnswer::Discard;
      case brixo::MessageButtons::Ok:
        break;
    }
    return brixo::MessageAnswer::Ok;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (NeedsNoScreen(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication application(argc, argv);
  QApplication::setApplicationName("BrixoConfig");
  QApplication::setOrganizationName("BrixoConfig");
  QApplication::setApplicationVersion(brixo::kProgramVersion);
  QCommandLineParser parser;
  parser.setApplicationDescription("Configure and test a Brixo accessory controller.");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption simulate(
      "simulate", "Offer a built-in simulated controller (loaded with demo.dat) in the port list, and open it.");
  const QCommandLineOption port(
      "port", "Add a serial device path (a pseudo-terminal, say) to the port list, and open it.", "DEVICE");
  const QCommandLineOption screenshot(
      "screenshot", "Render each tab, the monitor and the report to PNG files in DIR, then exit.", "DIR");
  const QCommandLineOption guidePictures(
      "guide-pictures", "Render the user guide's pictures to PNG files in DIR (with --simulate), then exit.", "DIR");
  parser.addOption(simulate);
  parser.addOption(port);
  parser.addOption(screenshot);
  parser.addOption(guidePictures);
  parser.process(application);
  const bool screenshots = parser.isSet(screenshot) || parser.isSet(guidePictures);

  brixo::QtUserPrompt windowPrompt;
  UnattendedPrompt unattended;
  brixo::UserPrompt& prompt = screenshots ? static_cast<brixo::UserPrompt&>(unattended) : windowPrompt;
  brixo::QtFileChooser chooser;
  brixo::QtSerialPortFactory devices;

  brixo::AppStateOptions options;
  options.ProgramFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  options.OfferSimulator = parser.isSet(simulate);
  for (const QString& device : parser.values(port))
    options.ExtraDevices.push_back(QFile::encodeName(device).toStdString());
  options.Devices = &devices;
  options.Scanner = brixo::ScanQtSerialPorts;
  brixo::AppState app(prompt, chooser, options);

  if (options.OfferSimulator) {
    const std::string demo = brixo::FindDemoDataFile(options.ProgramFolder);
    if (demo.empty())
      std::fprintf(stderr, "demo.dat not found: the simulated controller starts empty\n");
    else
      app.PreloadSimulator(demo);
  }

  brixo::BrixoConfig window(app);
  windowPrompt.SetParent(&window);
  chooser.SetParent(&window);

  // The port named on the command line is the one the user wants: open it, so that
  // "Read All" works at once. A path given wins over the simulator.
  std::string chosenDevice;
  if (parser.isSet(port)) {
    chosenDevice = QFile::encodeName(parser.values(port).constLast()).toStdString();
  } else if (options.OfferSimulator) {
    chosenDevice = brixo::kSimulatedPortName;
  }

  if (screenshots) {
    if (!chosenDevice.empty()) window.SelectDevice(chosenDevice);
    const QStringList files = parser.isSet(guidePictures)
                                  ? brixo::RenderGuidePictures(window, parser.value(guidePictures))
                                  : brixo::RenderWindowScreenshots(window, parser.value(screenshot));
    for (const QString& file : files) std::printf("%s\n", QFile::encodeName(file).constData());
    return files.isEmpty() ? 1 : 0;
  }
  // Pictures show the program as it starts for everybody, so they leave the settings alone.
  brixo::WindowSettingsFile settings(brixo::DefaultSettingsPath());
  const auto tell = [&settings, &window] {
    if (settings.Problem().empty()) return;
    std::fprintf(stderr, "%s\n", settings.Problem().c_str());
    window.App().ShowResult(settings.Problem());
  };
  settings.Restore(window, chooser);
  window.show();
  // A library beside the program that could not be used was passed over: say which one
  // was loaded instead.
  if (const std::string& note = app.Devices().StartUpNote; !note.empty()) {
    std::fprintf(stderr, "%s\n", note.c_str());
    app.ShowResult(note);
  }
  tell();
  // Once the window is on screen, so that a port that will not open is reported over it.
  // A port named on the command line (or the simulator) wins over the remembered one.
  QTimer::singleShot(0, &window, [&window, &settings, chosenDevice] { settings.OpenStartPort(window, chosenDevice); });
  const int status = application.exec();
  settings.Save(window, chooser);
  tell();
  return status;
}
