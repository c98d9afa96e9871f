#include <QPushButton>
#include <QTabWidget>

#include "device_tab_fixture.h"

namespace brixo {
namespace {

using DeviceDefinitionsTest = DeviceTabTest;

constexpr const char* kSignal = "Signal 4-aspect red/yellow/green/yellow";

void ChooseDevice(QComboBox* list, const QString& name) {
  const int index = list->findText(name);
  ASSERT_GE(index, 0) << name.toStdString();
  list->setCurrentIndex(index);
  emit list->activated(index);
}

bool Contains(const std::vector<std::vector<int>>& sent, const std::vector<int>& payload) {
  return std::find(sent.begin(), sent.end(), payload) != sent.end();
}

TEST_F(DeviceDefinitionsTest, LoadedSignalIsWrittenAndVerifiesOnTheSimulator) {
  EXPECT_EQ(Text("lblDDVersion"), "1.0");
  OpenSimulator();
  Type("TextPAspOutput", "2");  // internal pin 1
  ChooseDevice(Find<QComboBox>("cboDevice"), kSignal);
  Click("CommandPAspPreLoad");

  EXPECT_EQ(Pin(1).DeviceDescription, kSignal);
  EXPECT_EQ(Pin(4).DevicePointer, -3);
  EXPECT_EQ(Text("TextDeviceDescription"), kSignal);
  EXPECT_EQ(Text("TextPAspAspDesc"), "Stop");
  EXPECT_EQ(Find<QComboBox>("ComboPAspInst_3")->currentText(), "Wait");
  EXPECT_TRUE(Find<QCheckBox>("CheckPAspFade_4")->isChecked());
  EXPECT_EQ(Find<QTabWidget>("SSTabPCFG")->currentIndex(), 2);

  Click("CommandWriteDevice");
  EXPECT_EQ(app.Commands().PendingCommand(), "WriteDevice");
  app.Commands().Tick();
  const auto& sent = Sim().ReceivedPayloads();
  EXPECT_TRUE(Contains(sent, {98, 1, 3}));
  for (int member : {2, 3, 4}) EXPECT_TRUE(Contains(sent, {98, member, 0})) << member;
  EXPECT_FALSE(Contains(sent, {98, 0, 0}));

  // The other pins hold the start-up defaults, which a fresh controller does not: the
  // whole controller is written before it is compared.
  Click("CommandWriteAllPins");
  app.Commands().Tick();
  ASSERT_TRUE(app.Commands().PostCommand("VerifyAllPins"));
  app.Commands().Tick();
  EXPECT_NE(app.Report().Text.find("Verify OK"), std::string::npos) << app.Report().Text;

}

TEST_F(DeviceDefinitionsTest, LoadWithoutAChoiceAsksForOne) {
  Click("CommandPAspPreLoad");
  ASSERT_FALSE(prompt.Messages.empty());
  EXPECT_EQ(prompt.Messages.back(), "Select Devicename to load");
}

TEST_F(DeviceDefinitionsTest, ShiftReloadAppends) {
  auto* list = Find<QComboBox>("cboDevice");
  const int count = list->count();
  ASSERT_GT(count, 0);
  const std::string library = std::string(BRIXO_TEST_DATA_DIR) + "/BrixoDevices.def";
  auto* reload = Find<QPushButton>("CommandReloadDD");

  chooser.Answers = {library};
  QTest::mousePress(reload, Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(list->count(), 2 * count);
  EXPECT_EQ(Text("lblDDVersion"), "1.0 + 1.0");

  chooser.Answers = {library};
  QTest::mousePress(reload, Qt::LeftButton);
  EXPECT_EQ(list->count(), count);
  EXPECT_EQ(Text("lblDDVersion"), "1.0");
}

TEST_F(DeviceDefinitionsTest, TransferButtonsPostTheirCommands) {
  const std::pair<const char*, const char*> buttons[] = {
      {"CommandReadDevice", "ReadDevice"},       {"CommandWriteDevice", "WriteDevice"},
      {"CommandReadAllPins", "ReadAllPins"},     {"CommandWriteAllPins", "WriteAllPins"},
      {"CommandPAspReadPin", "PAspReadPin"},     {"CommandPAspWritePin", "PAspWritePin"},
  };
  for (const auto& [name, command] : buttons) {
    Click(name);
    EXPECT_EQ(app.Commands().PendingCommand(), command) << name;
  }
}

}  // namespace
}  // namespace brixo
