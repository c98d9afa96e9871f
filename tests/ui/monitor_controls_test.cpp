// The communication monitor's controls: what the view shows under each filter and with
// time stamps, pausing, saving what is shown, and following the newest line only while
// the user has not scrolled back.
#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <filesystem>
#include <fstream>

#include "ui/communication_window.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class MonitorControlsTest : public MainWindowTest {
 protected:
  CommunicationWindow& Monitor() {
    window.OpenMonitor();
    return *window.Monitor();
  }
  QString Shown() { return Monitor().txtQuendalCommunication()->toPlainText(); }
  static QString AsShown(const std::string& text) {
    QString shown = QString::fromUtf8(text.c_str()).remove('\r');
    if (shown.endsWith('\n')) shown.chop(1);
    return shown;
  }
  // A request and its answer, then a feedback poll with its answer, all through the link.
  void Exchange() {
    app.Log().AppendLine(">  [47] [62] [70] [02]");
    clock.Advance(0.020);
    app.Log().AppendLine("< [47] [62] [70] [02] [03]");
    const PollingScope poll(app.Log());
    app.Log().AppendLine(">  [03] [60]");
    app.Log().AppendLine("< [03] [64] [00]");
  }
};

TEST_F(MonitorControlsTest, EveryFilterAndTimeStampSettingShowsTheLogAsItSaysBeforeAndAfterNewLines) {
  CommunicationWindow& monitor = Monitor();
  Exchange();
  ASSERT_EQ(monitor.cboFilter()->count(), kMonitorFilterCount);
  for (int filter = 0; filter < kMonitorFilterCount; ++filter) {
    for (const bool stamps : {false, true}) {
      monitor.cboFilter()->setCurrentIndex(filter);
      monitor.chkTimeStamps()->setChecked(stamps);
      const MonitorView view{static_cast<MonitorFilter>(filter), stamps};
      const std::string what = monitor.cboFilter()->currentText().toStdString() + (stamps ? ", stamped" : "");
      EXPECT_EQ(Shown(), AsShown(MonitorText(app.Log(), view))) << what;
      // Lines that come while the view is shown are shown the same way.
      Exchange();
      EXPECT_EQ(Shown(), AsShown(MonitorText(app.Log(), view))) << what << ", appended";
    }
  }
  // The filters do what their captions say.
  monitor.chkTimeStamps()->setChecked(false);
  monitor.cboFilter()->setCurrentIndex(static_cast<int>(MonitorFilter::HidePolls));
  EXPECT_FALSE(Shown().contains("[03] [60]"));
  monitor.cboFilter()->setCurrentIndex(static_cast<int>(MonitorFilter::FromController));
  EXPECT_FALSE(Shown().contains(">"));
  EXPECT_TRUE(Shown().contains("< [03] [64] [00]"));
  monitor.chkTimeStamps()->setChecked(true);
  EXPECT_TRUE(Shown().contains("      20 ms < [47] [62] [70] [02] [03]")) << Shown().toStdString();
}

TEST_F(MonitorControlsTest, PauseHoldsTheViewAndResumeShowsWhatCameMeanwhile) {
  CommunicationWindow& monitor = Monitor();
  Exchange();
  const QString before = Shown();
  monitor.cmdPause()->click();
  EXPECT_EQ(monitor.cmdPause()->text(), "Resume");
  Exchange();
  EXPECT_EQ(Shown(), before);
  monitor.cmdPause()->click();
  EXPECT_EQ(monitor.cmdPause()->text(), "Pause");
  EXPECT_EQ(Shown(), AsShown(app.Log().Text()));
  EXPECT_EQ(app.Log().LineCount(), 8u) << "the log kept every line while the view was paused";
}

TEST_F(MonitorControlsTest, SaveWritesTheLinesAsShown) {
  CommunicationWindow& monitor = Monitor();
  Exchange();
  monitor.cboFilter()->setCurrentIndex(static_cast<int>(MonitorFilter::ToController));
  monitor.chkTimeStamps()->setChecked(true);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo_monitor_save.txt";
  chooser.Answers = {file.string()};
  monitor.cmdSaveLog()->click();
  std::ifstream in(file, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(saved, "       0 ms >  [47] [62] [70] [02]\r\n      20 ms >  [03] [60]\r\n");
  EXPECT_EQ(Text("LabelLastResult"), "Saved brixo_monitor_save.txt");
  std::filesystem::remove(file);
  // A cancelled dialog writes nothing and says nothing.
  chooser.Answers = {""};
  monitor.cmdSaveLog()->click();
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(MonitorControlsTest, TheViewFollowsTheNewestLineUnlessScrolledBack) {
  CommunicationWindow& monitor = Monitor();
  monitor.resize(500, 300);
  monitor.show();
  for (int i = 0; i < 200; ++i) app.Log().AppendLine("> line " + std::to_string(i));
  QScrollBar* bar = monitor.txtQuendalCommunication()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
  app.Log().AppendLine("> newest");
  EXPECT_EQ(bar->value(), bar->maximum()) << "at the end: follows";
  bar->setValue(bar->maximum() / 2);
  const int reading = bar->value();
  for (int i = 0; i < 20; ++i) app.Log().AppendLine("> later " + std::to_string(i));
  EXPECT_EQ(bar->value(), reading) << "scrolled back: stays where the user reads";
  EXPECT_LT(bar->value(), bar->maximum());
}

}  // namespace
}  // namespace brixo::window_test
