// "Scan line...": the dialog finds the simulated controllers, shows its progress, stops on
// request and takes the chosen controller's address into the main window.
#include <QProgressBar>
#include <QSpinBox>
#include <QTreeWidget>

#include "ui/scan_dialog.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class ScanDialogTest : public MainWindowTest {
 protected:
  // Three controllers: the first one at module 0 (shown as 1), 4 and 9 (shown as 5 and 10).
  void PutControllers() {
    ControllerBus& bus = app.Simulator()->Controllers();
    bus.First().Memory().IdString = "Demo";
    SimController& four = bus.Add(4);
    four.Memory().IdString = "Yard West";
    four.Memory().Version = {3, 2, 1, 4};
    SimController& nine = bus.Add(9);
    nine.Memory().IdString = "Depot";
    nine.Memory().Version = {3, 2, 1, 9};
    nine.Memory().ModuleXAddress = 7;
  }

  // Opens the dialog with the window's button; `use` runs on it while it is open.
  void WithDialog(const std::function<void(ScanDialog&)>& use) {
    bool opened = false;
    window.SetScanPresenter([&](ScanDialog& dialog) {
      opened = true;
      use(dialog);
    });
    Click("cmdScanLine");
    EXPECT_TRUE(opened);
  }

  static void RunToEnd(ScanDialog& dialog) {
    dialog.StartScan();
    for (int i = 0; i < 1000 && dialog.Scanning(); ++i) dialog.StepScan();
    ASSERT_FALSE(dialog.Scanning());
  }

  static QStringList Rows(ScanDialog& dialog) {
    QStringList rows;
    auto* list = dialog.findChild<QTreeWidget*>("ListScanFound");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QStringList cells;
      for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(i)->text(c);
      rows << cells.join("|");
    }
    return rows;
  }

  static void Choose(ScanDialog& dialog, int row) {
    auto* list = dialog.findChild<QTreeWidget*>("ListScanFound");
    ASSERT_LT(row, list->topLevelItemCount());
    list->setCurrentItem(list->topLevelItem(row));
  }
};

// Two controllers answering one address: the dialog says so below its list, in the words
// brixo-cli uses, and lists the controllers that answered alone.
TEST_F(ScanDialogTest, TwoControllersOnOneAddressAreReported) {
  SelectSimulatedPort();
  PutControllers();
  app.Simulator()->Controllers().Add(4).Memory().ModuleXAddress = 12;
  WithDialog([&](ScanDialog& dialog) {
    RunToEnd(dialog);
    EXPECT_EQ(Rows(dialog), (QStringList{"1||3.2.1.0|Demo|in time", "10||3.2.1.9|Depot|in time"}));
    const QString activity = dialog.findChild<QLabel*>("LabelScanActivity")->text();
    EXPECT_TRUE(activity.startsWith("2 controllers found.\nsomething answered at module 5, but the reply was garbled "))
        << activity.toStdString();
  });
}

TEST_F(ScanDialogTest, FindsTheControllersAndTakesTheChosenAddress) {
  SelectSimulatedPort();
  PutControllers();
  WithDialog([&](ScanDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelScanRange")->text(), "Module addresses 1 to 16 at 19200 bit/s");
    RunToEnd(dialog);
    EXPECT_EQ(Rows(dialog), (QStringList{"1||3.2.1.0|Demo|in time", "5||3.2.1.4|Yard West|in time",
                                         "10||3.2.1.9|Depot|in time"}));
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelScanActivity")->text(), "3 controllers found.");
    auto* progress = dialog.findChild<QProgressBar*>("ProgressScan");
    EXPECT_EQ(progress->value(), progress->maximum());
    Choose(dialog, 2);
    dialog.UseSelected();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  });
  EXPECT_EQ(FieldText("TextAddress"), "10");
  EXPECT_EQ(app.Link().ModuleAddress, 9);
  // The next operation talks to that controller.
  Click("CommandGenVersion");
  EXPECT_EQ(Text("LabelGenVersionString"), "3.2.1.9");
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
}

TEST_F(ScanDialogTest, AControllerBehindAnExtendedAddressSwitchesExtendedAddressingOn) {
  SelectSimulatedPort();
  PutControllers();
  WithDialog([&](ScanDialog& dialog) {
    dialog.findChild<QCheckBox*>("CheckScanXaddr")->setChecked(true);
    dialog.findChild<QSpinBox*>("UpDownScanXaddrFirst")->setValue(8);
    dialog.findChild<QSpinBox*>("UpDownScanXaddrLast")->setValue(9);
    RunToEnd(dialog);
    EXPECT_EQ(Rows(dialog), (QStringList{"10|8|3.2.1.9|Depot|in time"}));
    Choose(dialog, 0);
    // Declining the warning changes nothing and keeps the dialog open.
    prompt.Answers.push_back(MessageAnswer::Cancel);
    dialog.UseSelected();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(app.Link().ModuleAddress, 0);
    dialog.UseSelected();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  });
  EXPECT_EQ(MessageCount("eXtended Addressing is intended for\nexperienced users only!"), 2);
  EXPECT_TRUE(Find<QCheckBox>("CheckXaddress")->isChecked());
  EXPECT_EQ(Text("LabelAddress"), "Channel Number");
  EXPECT_EQ(FieldText("txtXaddr"), "8");
  EXPECT_EQ(FieldText("TextAddress"), "10");

  // A controller found without one switches it off again.
  WithDialog([&](ScanDialog& dialog) {
    RunToEnd(dialog);
    Choose(dialog, 1);
    dialog.UseSelected();
  });
  EXPECT_FALSE(Find<QCheckBox>("CheckXaddress")->isChecked());
  EXPECT_EQ(Text("LabelAddress"), "Module Address");
  EXPECT_EQ(FieldText("TextAddress"), "5");
}

TEST_F(ScanDialogTest, ShowsItsProgressAndStopsWhenAsked) {
  SelectSimulatedPort();
  PutControllers();
  WithDialog([&](ScanDialog& dialog) {
    auto* start = dialog.findChild<QPushButton*>("cmdScanStart");
    auto* stop = dialog.findChild<QPushButton*>("cmdScanStop");
    auto* use = dialog.findChild<QPushButton*>("cmdScanUse");
    auto* progress = dialog.findChild<QProgressBar*>("ProgressScan");
    auto* activity = dialog.findChild<QLabel*>("LabelScanActivity");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    start->click();
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_EQ(activity->text(), "Probing module 1 ...");
    for (int i = 0; i < 6; ++i) dialog.StepScan();
    EXPECT_EQ(progress->value(), 6);
    EXPECT_EQ(progress->maximum(), 16);
    EXPECT_EQ(activity->text(), "Probing module 7 ...");
    EXPECT_EQ(Rows(dialog).size(), 2) << "what answered so far is listed at once";
    const size_t written = app.Simulator()->Written().size();
    stop->click();
    EXPECT_FALSE(dialog.Scanning());
    EXPECT_EQ(activity->text(), "Stopped. 2 controllers found.");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(use->isEnabled()) << "nothing chosen yet";
    Choose(dialog, 0);
    EXPECT_TRUE(use->isEnabled());
    dialog.StepScan();
    EXPECT_EQ(app.Simulator()->Written().size(), written) << "nothing more is sent";
    dialog.findChild<QPushButton*>("cmdScanClose")->click();
  });
  EXPECT_EQ(FieldText("TextAddress"), "1") << "closing without a choice keeps the address";
}

TEST_F(ScanDialogTest, RunsByItselfBetweenEventsUntilDone) {
  SelectSimulatedPort();
  PutControllers();
  WithDialog([&](ScanDialog& dialog) {
    dialog.findChild<QPushButton*>("cmdScanStart")->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.Scanning(); }, 60000));
    EXPECT_EQ(Rows(dialog).size(), 3);
  });
}

TEST_F(ScanDialogTest, AClosedPortEndsTheScanWithOneMessage) {
  WithDialog([&](ScanDialog& dialog) {
    RunToEnd(dialog);
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelScanActivity")->text(),
              "The scan ended: the link failed. 0 controllers found.");
    EXPECT_TRUE(Rows(dialog).isEmpty());
  });
  EXPECT_EQ(prompt.Messages, (std::vector<std::string>{"Select communications port"}));
}

}  // namespace
}  // namespace brixo::window_test
