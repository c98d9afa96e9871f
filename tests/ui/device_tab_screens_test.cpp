#include <QDir>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include "device_tab_fixture.h"

namespace brixo {
namespace {

TEST_F(DeviceTabTest, ScreenshotsShowTheSignalAndEveryDialog) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString out = qEnvironmentVariable("BRIXO_SCREENSHOT_DIR", dir.path());
  ASSERT_TRUE(RenderDeviceTabScreens(app, out));
  for (const char* file : {"device_tab_signal.png", "dialog_edit_pin.png", "dialog_edit_aspect.png",
                           "dialog_edit_step.png", "dialog_calc_pattern.png", "dialog_calc_event_map.png",
                           "dialog_calc_time.png"}) {
    const QImage image(QDir(out).filePath(file));
    EXPECT_FALSE(image.isNull()) << file;
  }
  EXPECT_EQ(Pin(0).AspectConfig, 3);
  EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(DeviceTabTest, OnANarrowScreenItStacksItsHalves) {
  app.Pins().ShowDetails(true);
  tab.ShowDetails();
  tab.resize(1400, 900);
  tab.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tab));
  EXPECT_TRUE(tab.SideBySide());
  tab.resize(700, 600);
  QApplication::processEvents();
  EXPECT_FALSE(tab.SideBySide());
  for (QScrollArea* scroll : tab.findChildren<QScrollArea*>()) EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace brixo
