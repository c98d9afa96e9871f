#include <QApplication>
#include <QFontMetrics>

#include "device_tab_fixture.h"
#include "model/edit_operations.h"
#include "ui/calc_event_map_dialog.h"
#include "ui/calc_pattern_dialog.h"
#include "ui/calc_time_dialog.h"
#include "ui/edit_aspect_dialog.h"
#include "ui/edit_pin_dialog.h"
#include "ui/edit_step_dialog.h"

namespace brixo {
namespace {

using EditDialogTest = DeviceTabTest;

void ClickLabel(QWidget* label) { QTest::mouseClick(label, Qt::LeftButton); }

TEST_F(EditDialogTest, PasteOntoADeviceHeadReleasesItsMembers) {
  Pin(3).DeviceDescription = "Crossing";
  Pin(4).DevicePointer = -1;
  Pin(5).DevicePointer = -2;
  Pin(20).Description = "Lamp";
  Pin(20).AspectConfig = 3;
  Pin(20).OutputConfig[0] = 2;

  Type("TextPAspOutput", "21");
  driveDialog = [](QDialog& d) { Press(d, "CommandCopyPin"); };
  ClickLabel(Find("LabelPAspOutput"));
  EXPECT_EQ(lastDialog, "dlgEditPin");

  Type("TextPAspOutput", "4");
  driveDialog = [](QDialog& d) { Press(d, "CommandPastePin"); };
  ClickLabel(Find("LabelPAspOutput"));
  EXPECT_EQ(Pin(4).DevicePointer, 0);
  EXPECT_EQ(Pin(5).DevicePointer, 0);
  EXPECT_TRUE(Pin(4).DeviceDescription.empty());
  EXPECT_EQ(Pin(3).Description, "Lamp");
  // The editor shows the pasted pin at once.
  EXPECT_EQ(Text("TextPAspDesc"), "Lamp");
  EXPECT_TRUE(Find("ComboPAspInst_8")->isVisibleTo(&tab));
}

TEST_F(EditDialogTest, NothingToPasteKeepsTheDialogOpenAndTheClipboardLastsTheRun) {
  int result = -1;
  driveDialog = [&result](QDialog& d) {
    Press(d, "CommandPastePin");
    result = d.result();
  };
  ClickLabel(Find("LabelPAspOutput"));
  EXPECT_EQ(result, QDialog::Rejected);
  ASSERT_FALSE(prompt.Messages.empty());
  EXPECT_EQ(prompt.Messages.back(), kNothingToPaste);

  Pin(0).Description = "copied";
  driveDialog = [](QDialog& d) { Press(d, "CommandCopyPin"); };
  ClickLabel(Find("LabelPAspOutput"));
  Type("TextPAspOutput", "9");
  driveDialog = [](QDialog& d) { Press(d, "CommandPastePin"); };
  ClickLabel(Find("LabelPAspOutput"));
  EXPECT_EQ(Pin(8).Description, "copied");
}

// Each edit dialog names the pin, aspect or step it acts on, and every dialog of the tab
// is wide enough for its whole title (a window manager cuts what does not fit).
TEST_F(EditDialogTest, EachDialogNamesItsSubjectAndShowsItsWholeTitle) {
  SetLayout(1);
  Type("TextPAspOutput", "5");
  Type("TextPAspAspect", "2");
  const std::pair<const char*, QString> cases[] = {
      {"LabelPAspOutput", "Edit Pin 5"},
      {"LabelPAspAspect", "Edit Aspect 2 of Pin 5"},
      {"LabelPAspStep_3", "Edit Step 3 of Pin 5, Aspect 2"},
  };
  QString title;
  driveDialog = [&title](QDialog& d) { title = d.windowTitle(); };
  for (const auto& [label, expected] : cases) {
    title.clear();
    ClickLabel(Find(label));
    EXPECT_EQ(title, expected) << label;
  }
  QFont bold = tab.font();
  bold.setBold(true);
  for (QDialog* dialog : {static_cast<QDialog*>(tab.PinDialog()), static_cast<QDialog*>(tab.AspectDialog()),
                          static_cast<QDialog*>(tab.StepDialog()), static_cast<QDialog*>(tab.PatternDialog()),
                          static_cast<QDialog*>(tab.EventMapDialog()), static_cast<QDialog*>(tab.TimeDialog())}) {
    dialog->setAttribute(Qt::WA_DontShowOnScreen);
    dialog->show();
    QApplication::processEvents();
    EXPECT_GT(dialog->width(), QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 60)
        << dialog->windowTitle().toStdString() << " is cut";
    dialog->hide();
  }
}

TEST_F(EditDialogTest, AspectCopyIsASnapshot) {
  SetLayout(1);
  ChooseInstruction(0, "On");
  driveDialog = [](QDialog& d) { Press(d, "CommandCopy"); };
  ClickLabel(Find("LabelPAspAspect"));
  EXPECT_EQ(lastDialog, "dlgEditAspect");
  ChooseInstruction(0, "Off");

  Type("TextPAspAspect", "2");
  driveDialog = [](QDialog& d) { Press(d, "CommandPaste"); };
  ClickLabel(Find("LabelPAspAspect"));
  EXPECT_EQ(Step(0, 2, 0).Instruction, 9);
  EXPECT_EQ(Find<QComboBox>("ComboPAspInst_0")->currentText(), "On");
}

struct StepEditCase {
  const char* name;
  int layout;  // OptionPAspConf
  int row;
  const char* button;
  std::array<int, kStepCount> expected;
};

class StepDialogTest : public DeviceTabTest, public ::testing::WithParamInterface<StepEditCase> {};

TEST_P(StepDialogTest, ShiftsTheStepsOfTheLayout) {
  const StepEditCase& c = GetParam();
  SetLayout(c.layout);
  for (int s = 0; s < kStepCount; ++s) Step(0, 0, s) = StepRecord{static_cast<uint8_t>(s + 1), 0, 0, 0, 0, 0};
  Refresh();
  const char* button = c.button;
  driveDialog = [button](QDialog& d) { Press(d, button); };
  ClickLabel(Find(QString("LabelPAspStep_%1").arg(c.row)));
  EXPECT_EQ(lastDialog, "dlgEditStep");
  for (int s = 0; s < kStepCount; ++s) EXPECT_EQ(Step(0, 0, s).Instruction, c.expected[s]) << "step " << s;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepDialogTest,
    ::testing::Values(StepEditCase{"InsertAtTwoOfThree", 2, 2, "commandInsert", {1, 2, 0, 4, 5, 6, 7, 8, 9}},
                      StepEditCase{"DeleteAtZeroOfNine", 1, 0, "commandDelete", {2, 3, 4, 5, 6, 7, 8, 9, 0}},
                      StepEditCase{"InsertAtFourOfNine", 1, 4, "commandInsert", {1, 2, 3, 4, 0, 5, 6, 7, 8}},
                      StepEditCase{"CancelChangesNothing", 1, 4, "commandCancel", {1, 2, 3, 4, 5, 6, 7, 8, 9}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brixo
