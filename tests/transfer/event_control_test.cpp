#include <gtest/gtest.h>

#include "support/recording_transfer_view.h"
#include "transfer/event_control.h"

namespace brixo {
namespace {

TEST(EventEncoding, ActionBytes) {
  EXPECT_EQ(EncodeActionBytes({3, -1, 0, 11}), (std::array<int, 4>{3, 31, 32, 59}));
  EXPECT_EQ(EncodeActionByte(2, 99), 32 + 14);  // never more than a nibble
  struct Case { int value, position, action; };
  for (const Case& c : {Case{0x25, 1, -1}, Case{0x1F, 1, -1}, Case{0x1C, 1, 12}, Case{0x03, 0, 3},
                        Case{0x3B, 3, 11}, Case{0x0F, 0, -1}}) {
    EXPECT_EQ(DecodeActionByte(c.value, c.position), c.action) << c.value;
  }
}

TEST(EventEncoding, EnableMasks) {
  EventControlState ev;
  ev.CheckInitEE = {true, false, true, false, false, false, false, true};
  EXPECT_EQ(EncodeOnMask(ev), 10);
  EXPECT_EQ(EncodeOffMask(ev), 7);
  EventControlState back;
  DecodeEnableMap(10, 7 + 0x70, back);
  EXPECT_EQ(back.CheckInitEE, ev.CheckInitEE);
}

TEST(EventEditing, ActionFieldsClampStoreAndShade) {
  EventControlState ev;
  ev.CurrentEventPin = 4;
  struct Case { const char* typed; const char* shown; int stored; bool grey; };
  for (const Case& c : {Case{"15", "11", 11, false}, Case{"-5", "-1", -1, true}, Case{"0", "0", 0, false},
                        Case{"abc", "0", 0, false}, Case{"6.6", "7", 7, false}}) {
    EXPECT_EQ(CommitTextECon(ev, 2, c.typed), c.shown) << c.typed;
    EXPECT_EQ(ev.OnAction[4][2], c.stored) << c.typed;
    EXPECT_EQ(ShadeEventCell(ev.TextECon[2]), c.grey) << c.typed;
    EXPECT_EQ(CommitTextECoff(ev, 1, c.typed), c.shown);
    EXPECT_EQ(ev.OffAction[4][1], c.stored);
  }
  EXPECT_EQ(ev.OnAction[0][2], 0);  // other pins untouched
  ev.TextECon[0] = "11";
  EXPECT_EQ(UpDownECon(ev, 0, true), "11");
  ev.TextECoff[3] = "-1";
  EXPECT_EQ(UpDownECoff(ev, 3, false), "-1");
  EXPECT_EQ(UpDownECoff(ev, 3, true), "0");
  EXPECT_EQ(ev.OffAction[4][3], 0);
  EXPECT_EQ(kNoActionShade.Red + kNoActionShade.Green + kNoActionShade.Blue, 3 * 224);
}

TEST(EventEditing, PinFieldSelectsAndShows) {
  EventControlState ev;
  testing::RecordingTransferView view;
  ev.OnAction[31] = {1, 2, 3, -1};
  ev.OffAction[31] = {-1, 4, 5, 6};
  struct Case { int offset; const char* typed; const char* shown; int pin; };
  for (const Case& c : {Case{1, "0", "1", 0}, Case{1, "40", "32", 31}, Case{0, "31", "31", 31}, Case{0, "-2", "0", 0}}) {
    EXPECT_EQ(CommitTextECpin(ev, c.offset, c.typed, view), c.shown) << c.typed;
    EXPECT_EQ(ev.CurrentEventPin, c.pin) << c.typed;
  }
  EXPECT_EQ(UpDownECpin(ev, 1, false, view), "1");
  ev.CurrentEventPin = 30;
  EXPECT_EQ(UpDownECpin(ev, 1, true, view), "32");
  EXPECT_EQ(ev.TextECon, (std::array<std::string, 4>{"1", "2", "3", "-1"}));
  EXPECT_EQ(ev.TextECoff, (std::array<std::string, 4>{"-1", "4", "5", "6"}));
  EXPECT_EQ(view.Calls.back(), "ShowEventPin");
  ApplyNumberingOffsetToEvents(ev, 0);
  EXPECT_EQ(ev.TextECpin, "31");
  EXPECT_EQ(UpDownECpinRange(0).Max, 31);
}

TEST(EventEditing, CopyToAllTakesTheFields) {
  EventControlState ev;
  ev.TextECon = {"2", "-1", "12", "0"};  // 12 as a controller reported it
  ev.TextECoff = {"-1", "-1", "5", "11"};
  CopyEventActionsToAll(ev);
  for (int p : {0, 17, 31}) {
    EXPECT_EQ(ev.OnAction[p], (std::array<int16_t, 4>{2, -1, 12, 0}));
    EXPECT_EQ(ev.OffAction[p], (std::array<int16_t, 4>{-1, -1, 5, 11}));
  }
}

}  // namespace
}  // namespace brixo
