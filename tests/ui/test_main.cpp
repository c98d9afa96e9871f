// Runs the Qt-based tests inside one QApplication, offscreen unless told otherwise
// (test discovery runs the program right after linking, where there may be no display).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // The window's promises are about a 1024 x 768 screen with a frame around each window, as
  // a window manager draws it: the offscreen screen is made one (it is 800 x 600 and
  // frameless otherwise).
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen")
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QT_TESTCASE_SOURCEDIR "/ui/offscreen_screen.json");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
