#include <QButtonGroup>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "files/data_file.h"
#include "ui/communication_window.h"
#include "ui/general_tab.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

TEST_F(MainWindowTest, StartsWithThePortClosedAndTheFixedDefaults) {
  EXPECT_EQ(window.windowTitle(), "Brixo Config");
  EXPECT_FALSE(app.Ports().PortOpen());
  EXPECT_TRUE(app.Ports().ComboPortText.empty());
  auto* combo = Find<QComboBox>("ComboPort");
  EXPECT_GE(combo->findText(kSimulatedPortName, Qt::MatchContains), 0);
  EXPECT_EQ(combo->currentIndex(), -1);

  EXPECT_EQ(Text("LabelPortState"), "Port closed");
  EXPECT_FALSE(Shown("FrameBitrate"));
  EXPECT_TRUE(Find<QRadioButton>("OptionBitRate_1")->isChecked());
  EXPECT_EQ(Find<QRadioButton>("OptionBitRate_0")->text(), "  9k6");
  EXPECT_TRUE(Find<QCheckBox>("CheckBrixoBD")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("CheckKLnumber")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("CheckQuendal")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("CheckXaddress")->isChecked());
  EXPECT_EQ(Text("LabelAddress"), "Module Address");
  EXPECT_EQ(FieldText("TextAddress"), "1");
  EXPECT_FALSE(Shown("txtXaddr"));
  EXPECT_TRUE(Shown("cmdSetTM"));
  EXPECT_EQ(Find<QPushButton>("cmdSetTM")->toolTip(),
            "Switch Kesta or Sarpa in Transparant Mode for Brixo Configuration");

  EXPECT_FALSE(Shown("FrameAction"));
  EXPECT_EQ(Text("LabelAction"), "  Working ... Please WAIT");
  EXPECT_EQ(Text("Release"), "Release 3.21A");
  EXPECT_EQ(Find<QPushButton>("CommandSave")->toolTip(), "Shift+Save File to save compact");
  EXPECT_EQ(Find<QPushButton>("CommandLoad")->toolTip(), "Read from file");
  EXPECT_TRUE(window.Timer1()->interval() == 200);

  const QStringList tabs = {"General", "Brixo Event Control", "Brixo Device Configuration", "Test"};
  ASSERT_EQ(window.SSTab_Main()->count(), tabs.size());
  for (int i = 0; i < tabs.size(); ++i) EXPECT_EQ(window.SSTab_Main()->tabText(i), tabs[i]);
  EXPECT_EQ(window.SSTab_Main()->currentIndex(), 0);

  EXPECT_EQ(Text("LabelGenVersionString"), "Unknown");
  EXPECT_EQ(Text("LabelGenHWCPin_1"), "1..8");
  EXPECT_EQ(Find<QCheckBox>("CheckLCGreen_7")->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(Find<QComboBox>("ComboGenBaud")->currentText(), "9600");

  bool definitionsCaption = false;
  for (QLabel* label : window.findChildren<QLabel*>()) definitionsCaption |= label->text() == "Definitions Loaded:";
  EXPECT_TRUE(definitionsCaption);
  EXPECT_EQ(Text("lblDDVersion").toStdString(), app.Devices().lblDDVersion);
  EXPECT_NE(Text("lblDDVersion"), "None");  // the standard library was found
  EXPECT_TRUE(prompt.Messages.empty());
}

TEST_F(MainWindowTest, TestTabOpensOnlyInExpertMode) {
  QTabWidget* tabs = window.SSTab_Main();
  tabs->setCurrentIndex(2);
  tabs->setCurrentIndex(3);
  EXPECT_EQ(tabs->currentIndex(), 2);
  EXPECT_EQ(MessageCount("Sorry, This tab is disabled\n"
                         "It opens in expert mode: switch that on in Tools > Expert Mode"), 1);
  EXPECT_EQ(prompt.Messages.size(), 1u);

  // Right button on the release label asks; Yes switches expert mode on.
  prompt.Answers = {MessageAnswer::Yes};
  QTest::mousePress(Find("Release"), Qt::RightButton);
  EXPECT_EQ(prompt.Messages.back(), "Expert Mode?");
  EXPECT_TRUE(app.ExpertMode());
  tabs->setCurrentIndex(3);
  EXPECT_EQ(tabs->currentIndex(), 3);
  EXPECT_EQ(MessageCount("Sorry, This tab is disabled\n"
                         "It opens in expert mode: switch that on in Tools > Expert Mode"), 1);
}

TEST_F(MainWindowTest, ExpertModeShowsAndHidesTheFourExpertButtons) {
  const QStringList expertButtons = {"CommandVerifyAllPins", "CommandReadPin", "CommandWritePin", "CommandECVerify"};
  const auto shownCount = [&] {
    int shown = 0;
    for (const QString& name : expertButtons) shown += Shown(name) ? 1 : 0;
    return shown;
  };
  EXPECT_EQ(shownCount(), 0);
  for (const auto& [answer, expert, shown] : {std::tuple{MessageAnswer::Yes, true, 4}, {MessageAnswer::No, false, 0},
                                              {MessageAnswer::Yes, true, 4}}) {
    prompt.Answers = {answer};
    QTest::mousePress(Find("Release"), Qt::RightButton);
    EXPECT_EQ(app.ExpertMode(), expert);
    EXPECT_EQ(shownCount(), shown);
  }
  // Other buttons do nothing.
  const size_t asked = prompt.Messages.size();
  QTest::mousePress(Find("Release"), Qt::LeftButton);
  EXPECT_EQ(prompt.Messages.size(), asked);
}

TEST_F(MainWindowTest, PortLabelDoubleClickTogglesTheBitrateFrame) {
  QTest::mouseDClick(Find("LabelPort"), Qt::LeftButton);
  EXPECT_TRUE(Shown("FrameBitrate"));
  QTest::mouseDClick(Find("LabelPort"), Qt::LeftButton);
  EXPECT_FALSE(Shown("FrameBitrate"));
}

TEST_F(MainWindowTest, VerifyAllWithThePortClosedPostsNothing) {
  app.Report().AppendReportLine("earlier findings");
  Click("CommandVerifyAll");
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"Select communications port"});
  EXPECT_FALSE(Shown("FrameAction"));
  EXPECT_TRUE(app.Commands().PendingCommand().empty());
  window.Timer1Tick();
  EXPECT_EQ(reportsShown, 0);
  EXPECT_EQ(app.Report().Text, "earlier findings\r\n");
}

TEST_F(MainWindowTest, OnlyTheLastCommandPostedBeforeATickRuns) {
  SelectSimulatedPort();
  Click("CommandReadAll");
  EXPECT_TRUE(Shown("FrameAction"));
  Click("CommandWriteAll");
  EXPECT_EQ(app.Commands().PendingCommand(), "WriteAll");
  window.Timer1Tick();

  int reads = 0;
  int writes = 0;
  for (const std::vector<int>& payload : Received()) {
    reads += !payload.empty() && payload[0] == 112 ? 1 : 0;
    writes += !payload.empty() && payload[0] == 96 ? 1 : 0;
  }
  EXPECT_EQ(reads, 0);
  EXPECT_GT(writes, 0);
  EXPECT_FALSE(Shown("FrameAction"));
  // The slot is empty again: the next tick does nothing.
  const size_t sent = Received().size();
  window.Timer1Tick();
  EXPECT_EQ(Received().size(), sent);
}

TEST_F(MainWindowTest, Timer1RunsThePostedCommandOnItsOwn) {
  SelectSimulatedPort();
  window.Timer1()->start();
  Click("CommandReadAll");
  // However long a busy machine takes over it; no tick is needed once it ran.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Received().size() > 0 && !Shown("FrameAction"); }, 60000));
  EXPECT_EQ(Find<QLineEdit>("TextGenIDString")->text(), "Demo Layout");
  EXPECT_EQ(Text("LabelPortState").left(6), "Open: ");
}

TEST_F(MainWindowTest, ReadAllFillsTheGeneralTabFromTheController) {
  SelectSimulatedPort();
  RunCommand("CommandReadAll");
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
  EXPECT_FALSE(Shown("FrameAction"));

  EXPECT_NE(Text("LabelGenVersionString"), "Unknown");
  EXPECT_EQ(Find<QLineEdit>("TextGenIDString")->text(), "Demo Layout");
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "20");
  EXPECT_EQ(FieldText("TextGenXDCCAddress"), "100");
  EXPECT_EQ(FieldText("TextGenXaddr"), "4");
  EXPECT_TRUE(Find<QRadioButton>("OptGenDCC_PRP_1")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("CheckGenXGM_0")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("ChkGenHWCSink_0")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("CheckLCGreen_0")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("CheckLCGreen_3")->isChecked());
  EXPECT_EQ(Find<QCheckBox>("CheckLCGreen_7")->checkState(), Qt::Unchecked);
  EXPECT_EQ(Find<QComboBox>("ComboGenBaud")->currentText(), "19200");
  EXPECT_TRUE(Find<QRadioButton>("OptionGenSerialDatabits_1")->isChecked());

  // The whole record reached the controls, and the pins reached the model.
  GeneralSettings fromFile;
  ConfigModel model;
  EventControlState events;
  DataFileView noView;
  ScriptedChooser unused;
  DataFileContext file{model, fromFile, events, prompt, unused, noView};
  ASSERT_TRUE(LoadDataFileFrom(file, std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat"));
  EXPECT_EQ(app.General().TextGenIDString, fromFile.TextGenIDString);
  EXPECT_EQ(app.General().CheckLCOrange, fromFile.CheckLCOrange);
  // The controller keeps no descriptions, only what the pins do.
  EXPECT_EQ(app.Model().PinTable[0].AspectConfig, model.PinTable[0].AspectConfig);
  EXPECT_EQ(app.Model().PinTable[0].Aspects[1].Steps, model.PinTable[0].Aspects[1].Steps);
}

TEST_F(MainWindowTest, VerificationShowsTheReportWithItsFindings) {
  SelectSimulatedPort();
  RunCommand("CommandReadAll");
  RunCommand("CommandVerifyAll");
  EXPECT_EQ(reportsShown, 1);
  EXPECT_TRUE(reportText.endsWith("\nVerify OK\nCompared general settings, event control and 32 pins: no differences."))
      << reportText.toStdString();

  // A difference typed into the tab is found by the next verification.
  QLineEdit* id = Find<QLineEdit>("TextGenIDString");
  id->clear();
  QTest::keyClicks(id, "Other Layout");
  RunCommand("CommandVerifyAll");
  EXPECT_EQ(reportsShown, 2);
  EXPECT_TRUE(reportText.contains("ID does not compare: BrixoConfig = <Other Layout> Brixo = <Demo Layout>"));
  EXPECT_FALSE(reportText.contains("Verify OK"));
  EXPECT_EQ(window.ReportWindow()->windowTitle(), "BrixoConfig - Verification Report");
}

TEST_F(MainWindowTest, RunningCommandRepaintsWithProgressButDropsInput) {
  SelectSimulatedPort();
  Click("CommandReadAll");
  QStringList progress;
  bool inputDropped = true;
  // Fires inside the running command's repaints: records the busy label and tries to
  // post another command with a click.
  QTimer probe;
  probe.setInterval(0);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!Shown("FrameAction")) return;
    const QString text = Text("LabelProgress");
    if (progress.isEmpty() || progress.back() != text) progress << text;
    QPushButton* write = Find<QPushButton>("CommandWriteAll");
    QTest::mouseClick(write, Qt::LeftButton);
    inputDropped &= app.Commands().PendingCommand().empty();
  });
  probe.start();
  window.Timer1Tick();
  probe.stop();

  EXPECT_TRUE(progress.contains("Reading pin 12 of 32")) << progress.join(" | ").toStdString();
  EXPECT_TRUE(inputDropped);
  EXPECT_TRUE(app.Commands().PendingCommand().empty());
  EXPECT_FALSE(Shown("FrameAction"));
}

TEST_F(MainWindowTest, MonitorShowsFramesLoggedBeforeItWasOpened) {
  SelectSimulatedPort();
  Click("CommandGenVersion");
  const std::string logged = app.Log().Text();
  ASSERT_NE(logged.find("> "), std::string::npos);
  EXPECT_EQ(window.Monitor(), nullptr);

  QTest::mouseDClick(Find("Release"), Qt::LeftButton);
  ASSERT_NE(window.Monitor(), nullptr);
  EXPECT_EQ(window.Monitor()->windowTitle(), "Communication");
  EXPECT_TRUE(window.Monitor()->isVisible());
  // One line of the view per logged line; no empty line after the last.
  QString expected = QString::fromUtf8(logged.c_str());
  expected.remove('\r');
  expected.chop(1);
  EXPECT_EQ(window.Monitor()->txtQuendalCommunication()->toPlainText(), expected);

  window.Monitor()->cmdClear()->click();
  EXPECT_TRUE(window.Monitor()->txtQuendalCommunication()->toPlainText().isEmpty());
  Click("CommandGenVersion");
  const QString after = window.Monitor()->txtQuendalCommunication()->toPlainText();
  EXPECT_TRUE(after.startsWith("> ")) << after.toStdString();
  EXPECT_EQ(after + "\n", QString::fromUtf8(app.Log().Text().c_str()).remove('\r'));
}

TEST_F(MainWindowTest, SaveAndLoadGoThroughTheFileDialog) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brixo_window_test";
  std::filesystem::create_directories(folder);
  const std::filesystem::path normal = folder / "normal.dat";
  const std::filesystem::path compact = folder / "compact.dat";
  std::filesystem::remove(normal);
  std::filesystem::remove(compact);

  QLineEdit* id = Find<QLineEdit>("TextGenIDString");
  QTest::keyClicks(id, "Saved Layout");
  Type("TextGenDCCAddress", "300");
  app.Model().PinTable[4].Description = "Signal";

  QPushButton* save = Find<QPushButton>("CommandSave");
  chooser.Answers = {normal.string()};
  QTest::mouseClick(save, Qt::LeftButton);
  chooser.Answers = {compact.string()};
  QTest::mouseClick(save, Qt::LeftButton, Qt::ShiftModifier);
  QTest::mouseClick(save, Qt::LeftButton, Qt::ControlModifier);  // does nothing
  EXPECT_EQ(chooser.Filters, (std::vector<std::string>{"Brixo Config Data|*.dat", "Brixo Config Data|*.dat"}));
  ASSERT_TRUE(std::filesystem::exists(normal));
  ASSERT_TRUE(std::filesystem::exists(compact));
  EXPECT_LT(std::filesystem::file_size(compact), std::filesystem::file_size(normal));

  id->clear();
  Type("TextGenDCCAddress", "7");
  app.Model().PinTable[4].Description.clear();
  chooser.Answers = {normal.string()};
  Click("CommandLoad");
  EXPECT_EQ(id->text(), "Saved Layout");
  EXPECT_EQ(FieldText("TextGenDCCAddress"), "300");
  EXPECT_EQ(app.Model().PinTable[4].Description, "Signal");

  // A cancelled dialog changes nothing.
  chooser.Answers.clear();
  id->clear();
  QTest::keyClicks(id, "Kept");
  Click("CommandLoad");
  EXPECT_EQ(id->text(), "Kept");
  // Each load over edits offered to save them first (the recording prompt discards them).
  EXPECT_EQ(prompt.Messages, (std::vector<std::string>{"Save changes to compact.dat?", "Save changes to normal.dat?"}));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace brixo::window_test
