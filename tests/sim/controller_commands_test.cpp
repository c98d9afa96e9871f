// What the simulated controller answers and stores, byte for byte.
#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace brixo::test {
namespace {

using Payload = std::vector<int>;

TEST(ControllerCommands, GeneralReadsOfAFactoryController) {
  struct Case {
    int sub;
    Payload reply;
  };
  const Case cases[] = {
      {0, {112, 0, 3, 2, 1, 0}},  {1, {112, 1, 0, 0, 0, 0}}, {2, {112, 2, 0}},
      {3, {112, 3, 0, 0, 0, 0}},  {4, {112, 4, 1, 0}},       {5, {112, 5, 0}},
      {6, {112, 6, 0}},           {7, {112, 7, 0}},          {8, {112, 8, 0, 0}},
      {10, {112, 10}},            {11, {112, 11, 0, 0}},     {12, {112, 12, 1, 0}},
      {13, {112, 13, 0, 10}},     {9, {112, 9}},
  };
  Line line;
  for (const Case& c : cases) EXPECT_EQ(line.Ask({112, c.sub}), c.reply) << "sub " << c.sub;
}

TEST(ControllerCommands, GeneralWritesAreReadBack) {
  struct Case {
    Payload write;
    Payload reply;
  };
  const Case cases[] = {
      {{96, 1, 1, 2, 3, 0}, {112, 1, 1, 2, 3, 0}},
      {{96, 2, 95}, {112, 2, 95}},
      {{96, 3, 15, 1, 0, 8}, {112, 3, 15, 1, 0, 8}},
      {{96, 4, 44, 4}, {112, 4, 44, 4}},
      {{96, 5, 13}, {112, 5, 13}},
      {{96, 6, 9}, {112, 6, 9}},
      {{96, 7, 127}, {112, 7, 127}},
      {{96, 8, 1, 20}, {112, 8, 1, 20}},
      {{96, 10, 'D', 'e', 'm', 'o'}, {112, 10, 'D', 'e', 'm', 'o'}},
      {{96, 11, 10, 5}, {112, 11, 10, 5}},
      {{96, 12, 63, 31}, {112, 12, 63, 31}},
      {{96, 13, 1, 15}, {112, 13, 1, 15}},
  };
  for (const Case& c : cases) {
    Line line;
    EXPECT_EQ(line.Ask(c.write), (Payload{96, c.write[1]}));
    EXPECT_EQ(line.Ask({112, c.write[1]}), c.reply) << "sub " << c.write[1];
  }
}

TEST(ControllerCommands, WritesOfTheWrongLengthChangeNothing) {
  Line line;
  line.Ask({96, 4, 44});
  line.Ask({96, 10, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm'});
  EXPECT_EQ(line.Ask({112, 4}), (Payload{112, 4, 1, 0}));
  EXPECT_EQ(line.Ask({112, 10}), (Payload{112, 10}));
  line.Ask({96, 10, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l'});
  EXPECT_EQ(line.Ask({112, 10})->size(), 14u);
  line.Ask({96, 10});
  EXPECT_EQ(line.Ask({112, 10}), (Payload{112, 10}));
}

TEST(ControllerCommands, EraseNeedsTheWholeCodeAndRestoresTheFactoryMemory) {
  Line line;
  line.Ask({96, 8, 1, 20});
  line.Ask({98, 3, 3});
  line.Ask({96, 0, 83, 61, 11, 29, 66, 9, 35, 15});  // one byte off
  EXPECT_EQ(line.Ask({112, 8}), (Payload{112, 8, 1, 20}));
  line.Send(Request(0, {96, 0, 83, 61, 11, 29, 66, 9, 35, 14}, false, false));
  EXPECT_EQ(line.Ask({112, 8}), (Payload{112, 8, 0, 0}));
  EXPECT_EQ(line.Ask({114, 3}), (Payload{114, 3, 0}));
}

TEST(ControllerCommands, PinDataRoundTrips) {
  struct Case {
    const char* what;
    Payload write;
    Payload read;
    Payload reply;
  };
  const Case cases[] = {
      {"layout", {98, 5, 3}, {114, 5}, {114, 5, 3}},
      {"step", {99, 5, 3, 8, 54, 1, 72, 2, 3}, {115, 5, 3, 8}, {115, 5, 3, 8, 54, 1, 72, 2, 3}},
      {"init", {100, 5, 0x72}, {116, 5}, {116, 5, 0x72, 0x0F, 0x1F, 0x2F, 0x3F}},
      {"on actions", {100, 5, 3, 31, 32, 59}, {116, 5}, {116, 5, 0x7F, 3, 31, 32, 59}},
      {"off actions", {101, 31, 0x0F, 0x11, 0x2C, 0x3F}, {117, 31}, {117, 31, 0x0F, 0x11, 0x2C, 0x3F}},
      {"addresses", {102, 5, 0x0A, 0x13, 0x5D}, {118, 5}, {118, 5, 0x0A, 0x13, 0x5D}},
  };
  for (const Case& c : cases) {
    Line line;
    EXPECT_EQ(line.Ask(c.write), (Payload{c.write[0], c.write[1]})) << c.what;
    EXPECT_EQ(line.Ask(c.read), c.reply) << c.what;
  }
}

TEST(ControllerCommands, FactoryPinAndBadPinRequests) {
  Line line;
  EXPECT_EQ(line.Ask({118, 0}), (Payload{118, 0, 0x01, 0x11, 0x40}));
  EXPECT_EQ(line.Ask({115, 0, 11, 8}), (Payload{115, 0, 11, 8, 0, 0, 0, 0, 0}));
  EXPECT_EQ(line.Ask({113, 0}), (Payload{113, 0, 0}));
  // Out of range: only the echo comes back, so the tool sees a reply of the wrong shape.
  EXPECT_EQ(line.Ask({114, 32}), (Payload{114, 32}));
  EXPECT_EQ(line.Ask({115, 0, 12, 0}), (Payload{115, 0}));
  EXPECT_EQ(line.Ask({115, 0, 0, 9}), (Payload{115, 0}));
}

TEST(ControllerCommands, OutputConfigGetReportsTheLevelReadReportsTheStoredByte) {
  Line line;
  // Write a servo to flash: initial position 10 (stored 74), flags 0x0B, the rest 3..11.
  const Payload servo{97, 4, 1, 74, 0x0B, 64, 127, 58, 127, 127, 64, 0, 64, 0};
  line.Ask(servo);
  const Payload stored{113, 4, 1, 74, 0x0B, 64, 127, 58, 127, 127, 64, 0, 64, 0};
  EXPECT_EQ(line.Ask({113, 4}), stored);
  // Moving the servo changes the running output only.
  line.Ask({0, 39, 4, 100});
  Payload active = stored;
  active[0] = 81;
  active[3] = 100;
  active[4] = 0x4B;  // the controller reports the servo as initialised
  EXPECT_EQ(line.Ask({81, 4}), active);
  EXPECT_EQ(line.Ask({113, 4}), stored);
  // Set changes the running copy and the level, never the flash copy.
  line.Ask({65, 4, 2, 7, 1, 28, 0, 31});
  EXPECT_EQ(line.Ask({81, 4}), (Payload{81, 4, 2, 7, 1, 28, 0, 31}));
  EXPECT_EQ(line.Ask({113, 4}), stored);
}

TEST(ControllerCommands, OutputConfigLengthsPerType) {
  struct Case {
    Payload write;
    Payload read;
  };
  const Case cases[] = {
      {{97, 1, 2, 5, 3, 28, 0, 31}, {113, 1, 2, 5, 3, 28, 0, 31}},
      {{97, 1, 3, 5, 0, 28, 1, 30}, {113, 1, 3, 5, 0, 28, 1, 30}},
      {{97, 1, 5, 0, 0, 4, 4}, {113, 1, 5, 0, 0, 4, 4}},
      {{97, 1, 0}, {113, 1, 0}},
  };
  for (const Case& c : cases) {
    Line line;
    line.Ask({97, 1, 1, 64, 0, 64, 127, 58, 127, 127, 64, 0, 64, 0});
    line.Ask(c.write);
    EXPECT_EQ(line.Ask({113, 1}), c.read) << "type " << c.write[2];
  }
  Line line;
  line.Ask({97, 1, 2, 5, 3, 28});  // too short for a PWM output: ignored
  EXPECT_EQ(line.Ask({113, 1}), (Payload{113, 1, 0}));
}

TEST(ControllerCommands, LiveCommandsDriveTheOutputsOnly) {
  Line line;
  line.Ask({102, 0, 0x00, 0x12, 0x40});  // pin 0: serial addresses 0, 1
  line.Ask({102, 1, 0x00, 0x13, 0x40});  // pin 1: serial addresses 2, 3, 4
  line.Ask({0, 0, 7, 3});
  line.Ask({0, 1, 3, 2});
  line.Ask({0, 54, 9, 31});
  line.Ask({0, 38, 10, 12});
  const LiveOutputs& outputs = line.port.Controller().Outputs();
  EXPECT_EQ(outputs.Aspect[7], 3);
  EXPECT_EQ(outputs.Aspect[1], 2);
  EXPECT_EQ(outputs.Aspect[0], -1);
  EXPECT_EQ(line.port.Controller().Memory().Pins[9].OutputLevel, 31);
  EXPECT_EQ(line.port.Controller().Memory().Pins[10].OutputLevel, 12);
  EXPECT_EQ(line.Ask({114, 7}), (Payload{114, 7, 0}));
}

}  // namespace
}  // namespace brixo::test
