// View > "Pin Overview" and the device tab's aspect in words, driven as a user drives them:
// the overview reads for every pin what the pin editor's labels read once that pin is
// opened from it, follows edits, undo and the link's module address as they happen, and
// the words and the time line follow a step typed in the editor.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTableWidget>
#include <fstream>

#include "files/data_file.h"
#include "model/pin_overview.h"
#include "model/program_words.h"
#include "support/scratch_folder.h"
#include "ui/aspect_program_panel.h"
#include "ui/device_config_tab.h"
#include "ui/pin_overview_window.h"
#include "ui/time_line_picture.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

class PinOverviewWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    window.resize(1024, 768);
    window.show();
    chooser.Answers.push_back(std::string(BRIXO_TEST_DATA_DIR) + "/demo.dat");
    window.LoadFile();
    window.findChild<QAction*>("ActionPinOverview")->trigger();
    overview = window.Overview();
    ASSERT_NE(overview, nullptr);
    table = overview->Table();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(overview));
  }
  // The user's action ends; the window records it from its event loop.
  void Settle() { QApplication::processEvents(); }
  QString Cell(int row, OverviewColumn column) { return table->item(row, static_cast<int>(column))->text(); }
  int RowOfPin(int shownPin) {
    for (int r = 0; r < table->rowCount(); ++r) {
      if (Cell(r, OverviewColumn::Pin) == QString::number(shownPin)) return r;
    }
    return -1;
  }
  void DoubleClick(int row) {
    const QRect cell = table->visualItemRect(table->item(row, 0));
    // A double click's first press comes as a click.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
  }

  PinOverviewWindow* overview = nullptr;
  QTableWidget* table = nullptr;
};

TEST_F(PinOverviewWindowTest, EveryPinOpenedFromTheOverviewShowsItsAddressesInTheEditor) {
  ASSERT_EQ(table->rowCount(), kPinCount);
  for (int shown = 1; shown <= kPinCount; ++shown) {
    const int row = RowOfPin(shown);
    ASSERT_GE(row, 0);
    DoubleClick(row);
    SCOPED_TRACE("pin " + std::to_string(shown));
    EXPECT_EQ(window.SSTab_Main()->currentIndex(), kDeviceConfigurationTab);
    EXPECT_EQ(FieldText("TextPAspOutput"), QString::number(shown));
    EXPECT_EQ(Text("lblDCCAddress"), Cell(row, OverviewColumn::DccFirst));
    EXPECT_EQ(Text("lblXDCCAddress"), Cell(row, OverviewColumn::XDccFirst));
    EXPECT_EQ(Text("lblSerialAddress"), Cell(row, OverviewColumn::SerialFirst));
    EXPECT_EQ(Text("lblPinAddress"), Cell(row, OverviewColumn::PinAddress));
    EXPECT_EQ(FieldText("TextPaspDCCn"), Cell(row, OverviewColumn::DccCount));
    EXPECT_EQ(FieldText("TextPaspTamlon"), Cell(row, OverviewColumn::SerialCount));
    EXPECT_EQ(Find<QLineEdit>("TextPAspDesc")->text(), Cell(row, OverviewColumn::Description));
  }
}

TEST_F(PinOverviewWindowTest, FollowsEditsUndoAndTheModuleAddressAsTheyHappen) {
  DoubleClick(RowOfPin(5));
  auto* description = Find<QLineEdit>("TextPAspDesc");
  description->setFocus();
  description->selectAll();
  QTest::keyClicks(description, "Yard lamp");
  QTest::keyClick(description, Qt::Key_Return);
  Settle();
  int row = RowOfPin(5);
  EXPECT_EQ(Cell(row, OverviewColumn::Description), "Yard lamp");
  EXPECT_EQ(Cell(row, OverviewColumn::Changed), "changed");
  for (int other = 1; other <= kPinCount; ++other) {
    if (other != 5) {
      EXPECT_EQ(Cell(RowOfPin(other), OverviewColumn::Changed), "") << other;
    }
  }
  window.Undo();
  Settle();
  row = RowOfPin(5);
  EXPECT_EQ(Cell(row, OverviewColumn::Description), "B green");
  EXPECT_EQ(Cell(row, OverviewColumn::Changed), "");

  // The pin address carries the module address the link is set to.
  EXPECT_TRUE(Cell(RowOfPin(1), OverviewColumn::PinAddress).startsWith("1."));
  Type("TextAddress", "3");
  Settle();
  EXPECT_TRUE(Cell(RowOfPin(1), OverviewColumn::PinAddress).startsWith("3.")) << Cell(RowOfPin(1), OverviewColumn::PinAddress).toStdString();
}

TEST_F(PinOverviewWindowTest, FilterAndSortAsTheCoreArrangesThem) {
  const QString dcc = Cell(RowOfPin(9), OverviewColumn::DccFirst);
  ASSERT_NE(dcc, "-");
  overview->FilterBox()->setText(dcc);
  ASSERT_EQ(table->rowCount(), 1);
  EXPECT_EQ(Cell(0, OverviewColumn::Pin), "9");
  overview->FilterBox()->setText("SIGNAL");
  // Entry signal A (pins 1..3), Block signal B (4, 5), Exit signal C (6, 7).
  EXPECT_EQ(table->rowCount(), 7);
  overview->FilterBox()->clear();
  table->horizontalHeader()->sectionClicked(static_cast<int>(OverviewColumn::Description));
  EXPECT_EQ(Cell(0, OverviewColumn::Description), "A green");
  EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), static_cast<int>(OverviewColumn::Description));
}

TEST_F(PinOverviewWindowTest, TheAspectInWordsAndItsTimeLineFollowATypedStep) {
  DoubleClick(RowOfPin(1));
  auto* words = Find<QPlainTextEdit>("TextAspectWords");
  auto* picture = Find<SvgPicture>("PictureTimeLine");
  EXPECT_EQ(words->toPlainText().toStdString() + "\n", ProgramText(AspectInWords(app.Model(), 0, 0)));
  EXPECT_TRUE(words->toPlainText().contains("2: Wait 00:00.30"));
  QLineEdit* time = Find<QLineEdit>("TextPAspPar2_2");
  time->setFocus();
  time->selectAll();
  QTest::keyClicks(time, "50");
  QTest::keyClick(time, Qt::Key_Return);
  Settle();
  EXPECT_TRUE(words->toPlainText().contains("2: Wait 00:01.00")) << words->toPlainText().toStdString();
  QSvgRenderer renderer(QByteArray::fromStdString(picture->Svg()));
  EXPECT_TRUE(renderer.isValid());
  EXPECT_NE(picture->Svg().find("2: Wait 00:01.00"), std::string::npos);

  // Exported as SVG, or as PNG for a name ending in .png.
  testing::ScratchFolder folder;
  for (const char* name : {"line.svg", "line.PNG"}) {
    chooser.Answers.push_back(folder / name);
    window.DevicePage()->Program()->ExportButton()->click();
    std::ifstream in(folder / name, std::ios::binary);
    std::string head(8, '\0');
    in.read(head.data(), 8);
    EXPECT_EQ(head, std::string(name).ends_with("svg") ? std::string("<?xml ve") : std::string("\x89PNG\r\n\x1a\n"))
        << name;
  }
  EXPECT_EQ(chooser.Filters.back(), kTimeLineFileFilter);
}

}  // namespace
}  // namespace brixo::window_test
