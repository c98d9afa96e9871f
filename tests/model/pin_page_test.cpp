#include "model/pin_page.h"

#include <gtest/gtest.h>

#include "support/recording_prompt.h"

namespace brixo {
namespace {

using testing::RecordingPrompt;

TEST(PinPage, PinSpinnerCommitsPendingEditsOfTheOldPinFirst) {
  ConfigModel model;
  AddressMaps maps;
  RecordingPrompt prompt;
  PinPage page(model, maps, prompt);
  model.PinTable[0].AspectConfig = 3;
  model.PinTable[0].Aspects[0].Steps[0] = {9, 0, 0, 0, 0, 0};
  model.PinTable[0].DccAddressCount = 1;
  model.PinTable[1].DccAddressCount = 2;
  model.PinTable[1].XDccAddressCount = 1;
  model.PinTable[1].OutputConfig[0] = kOutputInputLowActive;
  model.PinTable[1].OutputConfig[3] = 7;
  page.RefreshViews();
  page.Output().TabClick(kPageServo);
  page.Output().EditFieldText(OutputFieldId::SrvMaxSpd, "200");
  page.Editor().EditParText(0, 1, "20");

  page.PinSpinnerMoved(2);  // numbering from 1: pin 1

  EXPECT_EQ(model.PinTable[0].OutputConfig[6], 127);
  EXPECT_EQ(model.PinTable[0].Aspects[0].Steps[0].Par1, 20);
  EXPECT_EQ(model.CurrentPin, 1);
  EXPECT_EQ(page.Output().View().SSTabPCFG, kPageInput);
  EXPECT_EQ(page.Output().View().FieldText[int(OutputFieldId::InputOffDelay)], "7");
  EXPECT_EQ(page.Addresses().View().TextPaspDCCn, "2");
  EXPECT_EQ(page.Addresses().View().lblDCCAddress, "2");  // after pin 0's single address
  EXPECT_TRUE(page.Addresses().View().Counts.TextPaspDCCn);
  EXPECT_FALSE(page.Addresses().View().Counts.TextPAspXDCCn);
}

}  // namespace
}  // namespace brixo
