// BrixoConfig's window. Until the full window lands this shows a placeholder that
// already understands the command line the finished program takes.
#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("BrixoConfig");
  QCommandLineParser parser;
  parser.setApplicationDescription("Configure and test a Brixo accessory controller.");
  parser.addHelpOption();
  QCommandLineOption simulate("simulate", "Offer a built-in simulated controller in the port list.");
  QCommandLineOption port("port", "Add a serial device path (a pseudo-terminal, say) to the port list.", "DEVICE");
  parser.addOption(simulate);
  parser.addOption(port);
  parser.process(app);

  QMainWindow window;
  window.setWindowTitle("Brixo Config");
  auto* label = new QLabel(parser.isSet(simulate) ? "Brixo Config (simulated controller)" : "Brixo Config");
  label->setAlignment(Qt::AlignCenter);
  window.setCentralWidget(label);
  window.resize(640, 400);
  window.show();
  return app.exec();
}
