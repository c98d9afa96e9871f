#include <gtest/gtest.h>

#include <algorithm>

#include "files_test_support.h"

namespace brixo::testing {
namespace {

constexpr const char* kHeader = "\"BrixoConfiguration 3100\"\r\n";

// Steps that survive the trip: fade only on opcodes that allow it.
constexpr StepRecord kSteps[] = {
    {9, 1, 1, 0, 0, 0},   {8, 0, 2, 5, 0, 0},    {38, 1, 0, 31, 0, 0}, {102, 0, 0, 0, 63, 3},
    {100, 0, 0, 104, 50, 0}, {17, 0, 0, 11, 0, 0}, {5, 0, 0, 255, 200, 0}, {45, 1, 3, 127, 0, 0},
    {127, 0, 31, 0, 1, 2}, {0, 0, 0, 0, 0, 0},
};
constexpr int kTypes[] = {0, 1, 2, 3, 4, 5, 7};
constexpr int kLayouts[] = {0, 2, 3, 5};

// Every field set, including aspects and steps outside each pin's layout.
void FillRichModel(ConfigModel& model, int seed) {
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord& pin = model.PinTable[p];
    pin.Description = "Pin " + std::to_string(p + seed);
    pin.DeviceDescription = p % 3 == 0 ? "Device, " + std::to_string(p) : "";
    pin.DevicePointer = static_cast<int16_t>(-(p % 3));
    pin.OutputConfig[0] = static_cast<uint8_t>(kTypes[(p + seed) % 7]);
    // Seven-bit values: the controller holds nothing larger.
    for (int i = 1; i < kOutputConfigSize; ++i) pin.OutputConfig[i] = static_cast<uint8_t>((p * 7 + i * 13 + seed) % 128);
    if (pin.OutputConfig[0] == 1) pin.OutputConfig[2] = static_cast<uint8_t>(0xC0 + 8 + p % 8);
    pin.OutputLevel = static_cast<uint8_t>(200 + seed);
    pin.InitAspect = static_cast<uint8_t>(p % 13);
    pin.XDccAddressCount = p % 2;
    pin.DccAddressCount = p % 7;
    pin.SerialAddressCount = (p + 1) % 7;
    pin.AspectConfig = static_cast<uint8_t>(kLayouts[(p + seed) % 4]);
    for (int a = 0; a < kAspectCount; ++a) {
      pin.Aspects[a].Description = "Aspect \"" + std::to_string(a) + "\"";
      for (int s = 0; s < kStepCount; ++s) pin.Aspects[a].Steps[s] = kSteps[(p + a + s + seed) % 10];
    }
  }
}

void FillRichSettings(GeneralSettings& general, EventControlState& events) {
  general.TextGenIDString = "Yard, \"north\"";
  general.TextGenDCCAddress = "300";
  general.TextGenXDCCAddress = "1200.5";
  general.OptGenDCC_PRP = 3;
  general.ChkGenDCC_BPSI = true;
  general.ChkGenDCCAllow0 = true;
  general.CheckGenTamloaddr = true;
  general.FlexAddress = 20;
  general.ModuleXAddress = 7;
  for (int i = 0; i < 16; ++i) general.CheckGenXGM[i] = i % 3 == 0;
  general.ChkGenHWCSink = {true, false, true, false};
  general.ChkGenHWCSource = {false, false, true, true};
  general.CheckLCGreen = {1, 0, 0, 1, 0, 0, 1, 0};
  general.CheckLCOrange = {0, 0, 0, 0, 0, 0, 0, 2};
  general.CheckGenSerialEnable = true;
  general.ComboGenBaud = 7;
  general.OptionGenSerialDatabits = 0;
  general.OptionGenSerialParity = 3;
  general.OptionGenSerialStop = 1;
  for (int p = 0; p < kPinCount; ++p) {
    for (int k = 0; k < kEventInputCount; ++k) {
      events.OnAction[p][k] = static_cast<int16_t>((p + k) % 16 - 1);
      events.OffAction[p][k] = static_cast<int16_t>((p * 3 + k) % 16 - 1);
    }
  }
}

TEST_F(FilesTest, NormalSaveAndLoadReproduceTheConfiguration) {
  FillRichModel(model, 0);
  FillRichSettings(general, events);
  const EventControlState savedEvents = events;
  ASSERT_TRUE(SaveDataFileTo(data, PathOf("rich.dat"), false));
  const ConfigModel saved = model;  // after the save, which reduces the servo flags

  ConfigModel before;
  FillRichModel(before, 1);
  model = before;
  general = GeneralSettings{};
  events = EventControlState{};
  ASSERT_TRUE(LoadDataFileFrom(data, PathOf("rich.dat")));

  for (int p = 0; p < kPinCount; ++p) {
    SCOPED_TRACE("pin " + std::to_string(p));
    const PinRecord& want = saved.PinTable[p];
    const PinRecord& got = model.PinTable[p];
    EXPECT_EQ(got.Description, want.Description);
    EXPECT_EQ(got.DeviceDescription, want.DeviceDescription);
    EXPECT_EQ(got.DevicePointer, want.DevicePointer);
    EXPECT_EQ(got.InitAspect, want.InitAspect);
    EXPECT_EQ(got.AspectConfig, want.AspectConfig);
    EXPECT_EQ(got.XDccAddressCount, want.XDccAddressCount);
    EXPECT_EQ(got.DccAddressCount, want.DccAddressCount);
    EXPECT_EQ(got.SerialAddressCount, want.SerialAddressCount);

    const int type = want.OutputConfig[0];
    const int written = type == 1 ? 12 : (type == 2 || type == 3) ? 6 : (type == 4 || type == 5) ? 5 : 1;
    for (int i = 0; i < kOutputConfigSize; ++i) {
      int expected = want.OutputConfig[i];
      if (i >= written && i < 12) expected = (type == 4 || type == 5) ? before.PinTable[p].OutputConfig[i] : 0;
      if (i == 0 && written == 1) expected = 0;  // any other type is cleared whole
      if (i == 12) expected = before.PinTable[p].OutputConfig[12];
      EXPECT_EQ(got.OutputConfig[i], expected) << "byte " << i;
    }
    EXPECT_EQ(got.OutputLevel, got.OutputConfig[1]);

    const int aspects = want.AspectConfig == 3 ? 4 : want.AspectConfig == 2 ? 12 : 0;
    const int steps = want.AspectConfig == 3 ? 9 : want.AspectConfig == 2 ? 3 : 0;
    for (int a = 0; a < kAspectCount; ++a) {
      EXPECT_EQ(got.Aspects[a].Description, a < aspects ? "Aspect '" + std::to_string(a) + "'" : "");
      for (int s = 0; s < kStepCount; ++s) {
        const StepRecord expected = a < aspects && s < steps ? want.Aspects[a].Steps[s] : StepRecord{};
        EXPECT_EQ(got.Aspects[a].Steps[s], expected) << "aspect " << a << " step " << s;
      }
    }
  }
  EXPECT_EQ(events.OnAction, savedEvents.OnAction);
  EXPECT_EQ(events.OffAction, savedEvents.OffAction);

  EXPECT_EQ(general.TextGenIDString, "Yard, 'north'");
  EXPECT_EQ(general.TextGenDCCAddress, "300");
  EXPECT_EQ(general.TextGenXDCCAddress, "1201");  // the file holds the address a write sends
  EXPECT_EQ(general.OptGenDCC_PRP, 3);
  EXPECT_TRUE(general.ChkGenDCC_BPSI);
  EXPECT_TRUE(general.ChkGenDCCAllow0);
  EXPECT_TRUE(general.CheckGenTamloaddr);
  EXPECT_FALSE(general.CheckGenBrixoNative);
  EXPECT_EQ(general.FlexAddress, 20);
  EXPECT_EQ(general.TextGenTamloaddr, "81");
  EXPECT_EQ(general.ModuleXAddress, 7);
  EXPECT_EQ(general.TextGenXaddr, "8");
  for (int i = 0; i < 16; ++i) EXPECT_EQ(general.CheckGenXGM[i], i % 3 == 0) << i;
  EXPECT_EQ(general.ChkGenHWCSink, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_EQ(general.ChkGenHWCSource, (std::array<bool, 4>{false, false, true, true}));
  EXPECT_EQ(general.CheckLCGreen, (std::array<uint8_t, 8>{1, 0, 0, 1, 0, 0, 1, 0}));
  EXPECT_EQ(general.CheckLCOrange, (std::array<uint8_t, 8>{0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_TRUE(general.CheckGenSerialEnable);
  EXPECT_EQ(general.ComboGenBaud, 7);
  EXPECT_EQ(general.OptionGenSerialDatabits, 0);
  EXPECT_EQ(general.OptionGenSerialParity, 3);
  EXPECT_EQ(general.OptionGenSerialStop, 1);
  EXPECT_FALSE(general.QuietAddressUpdate);
  // Quotes became apostrophes, and the user was told once.
  ASSERT_EQ(prompt.Shown.size(), 1u);
  EXPECT_EQ(prompt.Shown[0].Text, "Double quotes in texts were saved as apostrophes");
}

TEST_F(FilesTest, CompactLoadReplacesOnlyTheNamedPins) {
  FillRichModel(model, 0);
  for (int p = 0; p < kPinCount; ++p) {
    if (p != 4 && p != 9) model.PinTable[p].Description.clear();
  }
  model.PinTable[4].AspectConfig = 3;
  model.PinTable[4].Aspects[2].Description.clear();
  model.PinTable[4].Aspects[1].Steps[3] = StepRecord{};
  const ConfigModel saved = model;
  ASSERT_TRUE(SaveDataFileTo(data, PathOf("compact.dat"), true));

  FillRichModel(model, 2);
  const ConfigModel before = model;
  ASSERT_TRUE(LoadDataFileFrom(data, PathOf("compact.dat")));
  for (int p = 0; p < kPinCount; ++p) {
    if (p == 4 || p == 9) continue;
    EXPECT_EQ(model.PinTable[p], before.PinTable[p]) << "pin " << p;
  }
  const PinRecord& pin = model.PinTable[4];
  EXPECT_EQ(pin.Description, saved.PinTable[4].Description);
  EXPECT_EQ(pin.Aspects[1].Description, "Aspect '1'");
  EXPECT_EQ(pin.Aspects[2].Description, "");  // left out: undescribed
  EXPECT_EQ(pin.Aspects[2].Steps[0], StepRecord{});
  EXPECT_EQ(pin.Aspects[1].Steps[0], saved.PinTable[4].Aspects[1].Steps[0]);
  EXPECT_EQ(pin.Aspects[1].Steps[3], StepRecord{});
}

TEST_F(FilesTest, SmallCompactFileIsWrittenByteForByte) {
  general.TextGenIDString = "Yard 1";
  general.TextGenDCCAddress = "300abc";
  general.TextGenXDCCAddress = "none";
  general.OptGenDCC_PRP = 2;
  general.ChkGenDCCAllow0 = true;
  general.CheckGenBrixoNative = true;
  general.ModuleXAddress = 5;
  general.CheckGenXGM[1] = general.CheckGenXGM[15] = true;
  general.ChkGenHWCSource[2] = true;
  general.CheckLCOrange[0] = 1;
  general.ComboGenBaud = 2;
  events.OnAction[0][3] = -1;
  events.OffAction[31][0] = 11;
  PinRecord& pin = model.PinTable[3];
  pin.Description = "He said \"hi\"";
  pin.DeviceDescription = "S\xC3\xBC" "d \xE2\x82\xAC";  // "Süd €": the file has a byte for ü only
  pin.DevicePointer = -1;
  pin.AspectConfig = 3;
  pin.InitAspect = 2;
  pin.OutputConfig = {1, 64, 74, 64, 127, 58, 20, 10, 64, 0, 64, 0, 99};
  pin.DccAddressCount = 2;
  pin.SerialAddressCount = 1;
  pin.Aspects[0].Steps[0] = {9, 0, 0, 0, 0, 0};  // undescribed aspect: left out
  pin.Aspects[1].Description = "Clear";
  pin.Aspects[1].Steps[0] = {9, 1, 1, 0, 0, 0};
  pin.Aspects[1].Steps[4] = {102, 0, 0, 0, 15, 0};
  ASSERT_TRUE(SaveDataFileTo(data, PathOf("small.dat"), true));

  std::string expected = std::string(kHeader) +
                         "ID$,\"Yard 1\"\r\nDCC,300,0,10\r\nXAD,64,0,5,2,0,0,8\r\nHWC,0,0,2,0\r\n"
                         "LED,0,1\r\nSPC,0,\"19200\",8,0,1\r\n";
  for (int i = 0; i < 32; ++i) expected += "Eon," + std::to_string(i) + (i == 0 ? ",1,1,1,0\r\n" : ",1,1,1,1\r\n");
  for (int i = 0; i < 32; ++i) expected += "Eof," + std::to_string(i) + (i == 31 ? ",12,1,1,1\r\n" : ",1,1,1,1\r\n");
  expected +=
      "Ena,15,15\r\n"
      "Pin,3,3,2,\"He said 'hi'\"\r\n"
      "  Dev,-1,\"S\xFC" "d ?\"\r\n"
      "  Cfg,1,64,10,64,127,58,20,10,64,0,64,0\r\n"
      "  PAM,0,2,1\r\n"
      "  Asp,1,\"Clear\"\r\n"
      "    Ins,0,25,1,0,0,0\r\n"
      "    Ins,4,102,0,0,15,0\r\n"
      "End\r\n";
  EXPECT_EQ(ReadAll(PathOf("small.dat")), expected);
  EXPECT_EQ(pin.OutputConfig[2], 10);  // the save reduces the servo flags in the model too
  // Read back, the file's bytes become the core's text again.
  model = ConfigModel{};
  ASSERT_TRUE(LoadDataFileFrom(data, PathOf("small.dat")));
  EXPECT_EQ(model.PinTable[3].DeviceDescription, "S\xC3\xBC" "d ?");
}

TEST_F(FilesTest, SaveLeavesOutWhatTheLayoutOrCompactModeExcludes) {
  bool quotes = false;
  // Nothing described: header, six general records, 32 + 32 event records, the enable map, "End".
  std::string text = ComposeDataFile(model, general, events, true, quotes);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 6 + 64 + 1 + 1);
  EXPECT_EQ(text.find("Pin,"), std::string::npos);

  // A pin without a layout writes exactly its four records; type 7 writes one "Cfg" byte.
  model.PinTable[0].Description = "Lamp";
  model.PinTable[0].OutputConfig = {7, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  text = ComposeDataFile(model, general, events, true, quotes);
  EXPECT_NE(text.find("Pin,0,0,0,\"Lamp\"\r\n  Dev,0,\"\"\r\n  Cfg,7\r\n  PAM,0,0,0\r\nEnd\r\n"), std::string::npos);

  // Loading that "Cfg" clears bytes 0 to 11 and keeps byte 12.
  ASSERT_TRUE(LoadDataFileText(data, text));
  EXPECT_EQ(model.PinTable[0].OutputConfig, (std::array<uint8_t, 13>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}));

  // A normal save writes every pin, aspect and step of each layout.
  model.PinTable[1].AspectConfig = 2;
  model.PinTable[2].AspectConfig = 3;
  model.PinTable[2].Aspects[3].Steps[8] = {120, 1, 0, 0, 0, 0};  // a fade flag 120 cannot carry
  text = ComposeDataFile(model, general, events, false, quotes);
  EXPECT_NE(text.find("    Ins,8,120,0,0,0,0\r\n"), std::string::npos);
  auto count = [&](const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\r\nPin,"), 32u);
  EXPECT_EQ(count("  Asp,"), 12u + 4u);
  EXPECT_EQ(count("    Ins,"), 12u * 3 + 4u * 9);
  EXPECT_FALSE(quotes);
}

std::string PinFile(const std::string& version, const std::string& body) {
  return "\"BrixoConfiguration " + version + "\"\r\nPin,0,3,1,\"x\"\r\n" + body + "End\r\n";
}

TEST_F(FilesTest, InsSplitsFadeOnlyForCodes19To63) {
  struct Case {
    int code, instruction, fade;
  } cases[] = {{18, 18, 1}, {19, 3, 1}, {31, 15, 1}, {40, 40, 0}, {48, 32, 1}, {63, 47, 1}, {64, 64, 1}, {127, 127, 1}};
  for (const Case& c : cases) {
    // The first "Ins" sets the fade flag; codes outside 19..63 must leave it alone.
    const std::string body = "Asp,2,\"a\"\r\nIns,5,25,0,0,0,0\r\nIns,5," + std::to_string(c.code) + ",1,2,3,4\r\n";
    ASSERT_TRUE(LoadDataFileText(data, PinFile("3100", body))) << c.code;
    const StepRecord& step = model.PinTable[0].Aspects[2].Steps[5];
    EXPECT_EQ(step.Instruction, c.instruction) << c.code;
    EXPECT_EQ(step.Fade, c.fade) << c.code;
    EXPECT_EQ(step, (StepRecord{step.Instruction, step.Fade, 1, 2, 3, 4}));
  }
}

TEST_F(FilesTest, ServoFlagsInTheHighHalfMoveToTheRangeBits) {
  for (auto [stored, expected] : {std::pair{80, 45}, {88, 88}, {15, 15}, {118, 47}}) {
    const std::string body = "Cfg,1,70," + std::to_string(stored) + ",64,127,58,20,10,64,0,64,0\r\n";
    ASSERT_TRUE(LoadDataFileText(data, PinFile("3100", body)));
    EXPECT_EQ(model.PinTable[0].OutputConfig[2], expected) << stored;
    EXPECT_EQ(model.PinTable[0].OutputLevel, 70);
  }
  // Eight bits never reach the controller.
  EXPECT_FALSE(LoadDataFileText(data, PinFile("3100", "Cfg,1,70,246,64,127,58,20,10,64,0,64,0\r\n")));
}

TEST_F(FilesTest, OlderVersionsOmitFields) {
  struct Case {
    std::string version, dcc, pam, cfg;
    std::string message;  // empty: none
    std::string xdcc;
    int prp, xcount, byte4, byte5;
    bool native;
  } cases[] = {
      {"abcd", "DCC,300", "PAM,2,3", "Cfg,2,5,1,9", "Data File Version = 0", "1", 0, 1, 0, 31, false},
      {"0019", "DCC,300", "PAM,2,3", "Cfg,2,5,1,9", "Data File Version = 19", "1", 0, 1, 0, 31, false},
      {"0020", "DCC,300", "PAM,2,3", "Cfg,2,5,1,9,4,30", "Data File Version = 20", "1", 0, 1, 4, 30, false},
      {"0023", "DCC,300,2", "PAM,2,3", "Cfg,3,5,1,9,4,30", "Data File Version = 23", "1", 2, 1, 4, 30, false},
      {"0032", "DCC,300,1200,3", "PAM,0,2,3", "Cfg,2,5,1,9,4,30", "Data File Version = 32", "1200", 3, 0, 4, 30, false},
      {"3100", "DCC,300,1200,3", "PAM,0,2,3", "Cfg,2,5,1,9,4,30", "", "1200", 3, 0, 4, 30, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    general = GeneralSettings{};
    prompt.Clear();
    model.PinTable[0].OutputConfig.fill(7);
    const std::string body = c.dcc + "\r\nXAD,64,0,3,0,0,0,0\r\n" + c.pam + "\r\n" + c.cfg + "\r\n";
    ASSERT_TRUE(LoadDataFileText(data, PinFile(c.version, body)));
    EXPECT_EQ(Messages(), c.message.empty() ? "" : c.message + "|");
    if (!c.message.empty()) {
      EXPECT_EQ(prompt.Shown[0].Icon, MessageIcon::Information);
    }
    EXPECT_EQ(general.TextGenDCCAddress, "300");
    EXPECT_EQ(general.TextGenXDCCAddress, c.xdcc);
    EXPECT_EQ(general.OptGenDCC_PRP, c.prp);
    EXPECT_EQ(general.CheckGenBrixoNative, c.native);
    const PinRecord& pin = model.PinTable[0];
    EXPECT_EQ(pin.XDccAddressCount, c.xcount);
    EXPECT_EQ(pin.DccAddressCount, 2);
    EXPECT_EQ(pin.SerialAddressCount, 3);
    EXPECT_EQ(pin.OutputConfig[4], c.byte4);
    EXPECT_EQ(pin.OutputConfig[5], c.byte5);
    EXPECT_EQ(pin.OutputConfig[6], 0);
  }
}

TEST_F(FilesTest, AddressingAndLedRecordsSetTheGeneralTab) {
  struct Case {
    std::string xad, led;
    bool tamlo, native;
    int flex;
    std::string tamloText;
    std::array<uint8_t, 8> green;
  } cases[] = {
      {"XAD,20,1,4,1,2,4,8", "LED,9,0", true, false, 20, "81", {1, 0, 0, 1, 0, 0, 0, 0}},
      {"XAD,64,0,4,1,2,4,8", "LED,0,0", false, true, 0, "1", {0, 0, 0, 0, 0, 0, 0, 2}},
      {"XAD,0,0,4,1,2,4,8", "LED,127,0", false, false, 0, "1", {1, 1, 1, 1, 1, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.xad);
    view.Calls.clear();
    const std::string file = std::string(kHeader) + c.xad + "\r\n" + c.led + "\r\nEnd\r\n";
    ASSERT_TRUE(LoadDataFileText(data, file));
    EXPECT_EQ(general.CheckGenTamloaddr, c.tamlo);
    EXPECT_EQ(general.CheckGenBrixoNative, c.native);
    EXPECT_EQ(general.FlexAddress, c.flex);
    EXPECT_EQ(general.TextGenTamloaddr, c.tamloText);
    EXPECT_EQ(general.TextGenXaddr, "5");
    EXPECT_EQ(general.CheckGenXGM[0] + general.CheckGenXGM[5] + general.CheckGenXGM[10] + general.CheckGenXGM[15], 4);
    EXPECT_FALSE(general.QuietAddressUpdate);
    EXPECT_EQ(general.CheckLCGreen, c.green);
    EXPECT_EQ(view.Calls.front(), "ShowAddressingOptions");
  }
}

TEST_F(FilesTest, TheEnableMapTravelsAfterTheEventRecordsWhenItIsKnown) {
  events.CheckInitEE = {true, false, true, false, false, true, true, false};  // ON mask 10, OFF mask 9
  bool quotes = false;
  const std::string text = ComposeDataFile(model, general, events, true, quotes);
  EXPECT_NE(text.find("Eof,31,1,1,1,1\r\nEna,10,9\r\nEnd"), std::string::npos) << text;

  struct Case {
    const char* name;
    std::string file;
    bool known;
    std::array<bool, 8> boxes;
  };
  const std::array<bool, 8> other = {false, false, false, true, true, true, true, true};
  const Case cases[] = {
      {"with the map", text, true, events.CheckInitEE},
      // Older files: the boxes stay as they are, but no longer stand for a known map.
      {"without it", Replace(text, "Ena,10,9\r\n", ""), false, other},
  };
  for (const Case& c : cases) {
    events.CheckInitEE = other;
    events.EnableMapKnown = true;
    ASSERT_TRUE(LoadDataFileText(data, c.file)) << c.name;
    EXPECT_EQ(events.EnableMapKnown, c.known) << c.name;
    EXPECT_EQ(events.CheckInitEE, c.boxes) << c.name;
    // What is not known is not saved either.
    EXPECT_EQ(ComposeDataFile(model, general, events, true, quotes).find("Ena,") != std::string::npos, c.known);
  }
}

TEST_F(FilesTest, AnIdentificationStringWithADoubleQuoteTravelsAsItsBytes) {
  general.TextGenIDString = "say \"hi\"";
  bool quotes = false;
  const std::string text = ComposeDataFile(model, general, events, true, quotes);
  EXPECT_FALSE(quotes);  // nothing of it was lost
  EXPECT_NE(text.find("ID$,\"say 'hi'\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("Ena,15,15\r\nIDB,8,115,97,121,32,34,104,105,34\r\n"), std::string::npos) << text;

  general.TextGenIDString.clear();
  ASSERT_TRUE(LoadDataFileText(data, text));
  EXPECT_EQ(general.TextGenIDString, "say \"hi\"");
  // A reader without the record shows the apostrophes.
  ASSERT_TRUE(LoadDataFileText(data, Replace(text, "IDB,8,115,97,121,32,34,104,105,34\r\n", "")));
  EXPECT_EQ(general.TextGenIDString, "say 'hi'");
  // Without a quote there is no such record.
  general.TextGenIDString = "Yard";
  EXPECT_EQ(ComposeDataFile(model, general, events, true, quotes).find("IDB"), std::string::npos);
}

TEST_F(FilesTest, AnIdentificationStringTheQuotedTextCannotCarryComesBackExactly) {
  struct Case {
    std::string id;
    std::string shown;  // what the ID$ record holds for readers that skip IDB
  };
  const Case cases[] = {
      {"say \"hi\"", "say 'hi'"},
      {"two\nlines", "two lines"},
      {"cr\r\nlf", "cr  lf"},
      {"\"\n\"", "' '"},
  };
  for (const Case& c : cases) {
    general.TextGenIDString = c.id;
    bool quotes = false;
    const std::string text = ComposeDataFile(model, general, events, true, quotes);
    EXPECT_NE(text.find("ID$,\"" + c.shown + "\"\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("IDB,"), std::string::npos) << text;
    general.TextGenIDString.clear();
    ASSERT_TRUE(LoadDataFileText(data, text)) << c.shown;
    EXPECT_EQ(general.TextGenIDString, c.id) << c.shown;
  }
}

TEST_F(FilesTest, EnforcedExtendedAddressIsStoredAsTheControllersByte) {
  struct Case {
    bool enforced;
    int address;
    const char* xad;
  };
  for (const Case& c : {Case{true, 0, "XAD,0,0,127,"}, Case{true, 40, "XAD,0,0,127,"}, Case{false, 40, "XAD,0,0,40,"}}) {
    general.CheckGenForceXA = c.enforced;
    general.ModuleXAddress = static_cast<uint8_t>(c.address);
    bool quotes = false;
    const std::string text = ComposeDataFile(model, general, events, true, quotes);
    EXPECT_NE(text.find(c.xad), std::string::npos) << text;

    general = GeneralSettings{};
    general.CheckGenForceXA = !c.enforced;
    ASSERT_TRUE(LoadDataFileText(data, text));
    EXPECT_EQ(general.CheckGenForceXA, c.enforced);
    EXPECT_EQ(general.ModuleXAddress, c.enforced ? 0 : c.address);
    EXPECT_EQ(general.TextGenXaddr, std::to_string(general.ModuleXAddress + 1));
  }
}

TEST_F(FilesTest, LoadRefreshesTheViewsInOrder) {
  const std::string file = std::string(kHeader) + "Junk,1,2\r\nDCC,5,6,0\r\nEnd\r\n";
  ASSERT_TRUE(LoadDataFileText(data, file));
  EXPECT_EQ(general.TextGenDCCAddress, "5");
  const std::vector<std::string> expected = {
      "ShowDccOutputRange", "ShowDccAddress", "ShowXDccOutputRange", "ShowXDccAddress",
      "ShowPin", "ShowOutputConfig", "ShowDetails", "ShowEventPin", "BuildDccMap", "ShowDccAddress",
      "BuildSerialMap", "ShowSerialAddress", "BuildXDccMap", "ShowXDccAddress"};
  EXPECT_EQ(view.Calls, expected);
  EXPECT_TRUE(prompt.Shown.empty());
}

TEST_F(FilesTest, CancelledDialogsDoNothing) {
  EXPECT_FALSE(SaveDataFile(data, false));
  EXPECT_FALSE(LoadDataFile(data));
  EXPECT_EQ(chooser.Filters, (std::vector<std::string>{"Brixo Config Data|*.dat", "Brixo Config Data|*.dat"}));
  EXPECT_TRUE(prompt.Shown.empty());
  EXPECT_TRUE(view.Calls.empty());
}

}  // namespace
}  // namespace brixo::testing
