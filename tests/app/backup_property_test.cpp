// What a backup promises, checked over the whole configuration as brixo-cli and the window
// reach it (the application state with its editors and the simulated controller):
// a backup read from a controller verifies against it and restores it byte for byte, and
// a change of any single byte of the controller's memory that the file describes makes
// Verify All fail.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include "files/data_file.h"
#include "sim/sim_serial_port.h"
#include "support/controller_image.h"
#include "support/property_stride.h"
#include "support/random_configuration.h"
#include "transfer/whole_sequences.h"

namespace brixo::testing {
namespace {

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(app.Ports().SelectPort("1")); }

  ControllerMemory& Memory() { return app.Simulator()->Controller().Memory(); }

  // As a button post followed by the next timer tick; the operation's own success.
  bool Run(const std::string& command) {
    if (!app.Commands().PostCommand(command)) return false;
    app.Commands().Tick();
    app.Log().Clear();  // the monitor's text would otherwise grow with every run
    return app.Commands().LastSucceeded();
  }

  void Take(const RandomConfiguration& c) {
    app.Model().PinTable = c.Model.PinTable;
    app.SetStartNumberingAtOne(c.Model.NumberingOffset == 1);
    app.General() = c.General;
    app.Events() = c.Events;
  }

  std::string Save() {
    bool quotes = false;
    return ComposeDataFile(app.Model(), app.General(), app.Events(), false, quotes);
  }

  // What each byte of the described image is called, for messages.
  std::vector<std::string> DescribedNames() {
    std::vector<std::string> names;
    for (const ImageByte& b : ControllerImage(Memory())) {
      if (b.Described) names.push_back(b.Name);
    }
    return names;
  }

  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
};

TEST_F(BackupTest, ReadAllBackupVerifiesAndRestoresTheControllerByteForByte) {
  ConfigurationDice dice(20261208);
  for (int round = 0; round < 24; round += kPropertyStride > 1 ? 4 : 1) {
    SCOPED_TRACE("round " + std::to_string(round));
    // A controller holding a random configuration, as a Write All leaves it.
    Memory() = FactoryMemory();
    RandomConfiguration c = dice.Configuration();
    if (round == 0) c.General.TextGenIDString = "Yard \"7\"";  // a text field cannot carry it
    Take(c);
    ASSERT_TRUE(Run("WriteAll"));
    if (round == 1) {
      // Address 0 with "Allow Address 0" off: the controller may hold it, so a backup must.
      Memory().DccLow = Memory().DccHigh = Memory().XDccLow = Memory().XDccHigh = 0;
      Memory().DccOptions &= ~8;
    }
    const std::vector<uint8_t> original = DescribedBytes(Memory());
    const std::vector<std::string> names = DescribedNames();

    // Read All and save, in a session that starts from its own defaults.
    app.General() = GeneralSettings{};
    app.Events() = EventControlState{};
    ASSERT_TRUE(Run("ReadAll"));
    const std::string backup = Save();

    // Load, then Verify All: nothing differs and nothing is left uncompared.
    Take(dice.Configuration());
    ASSERT_TRUE(LoadDataFileText(app.DataFiles(), backup));
    EXPECT_TRUE(Run("VerifyAll")) << app.Report().Text;
    EXPECT_TRUE(app.Report().Result.Differences.empty());
    EXPECT_TRUE(app.Report().Result.NotCompared.empty());

    // Erased, then restored from the backup: the same bytes, enable map and enforced
    // extended address included.
    Memory() = FactoryMemory();
    ASSERT_TRUE(Run("WriteAll"));
    const std::vector<uint8_t> restored = DescribedBytes(Memory());
    ASSERT_EQ(restored.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i) {
      EXPECT_EQ(int(restored[i]), int(original[i])) << names[i];
    }
    // Saving what was loaded gives the backup again.
    EXPECT_EQ(Save(), backup);
    ASSERT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
  }
}

// Every described byte of the image, changed alone, fails Verify All. The image is split so
// that each part runs on its own.
struct ImagePart {
  const char* Name;
  size_t Index;
  size_t Of;
};

class MutationTest : public BackupTest, public ::testing::WithParamInterface<ImagePart> {};

TEST_P(MutationTest, AnySingleChangedByteFailsVerifyAll) {
  ConfigurationDice dice(77);
  RandomConfiguration c = dice.Configuration();
  // Many programmed pins, so that the image holds steps of both layouts.
  for (int p = 0; p < kPinCount; ++p) c.Model.PinTable[p].AspectConfig = p % 4 == 3 ? 2 : p % 8 == 6 ? 0 : 3;
  c.General.CheckGenForceXA = false;
  Take(c);
  ASSERT_TRUE(Run("WriteAll"));
  ASSERT_TRUE(Run("VerifyAll")) << app.Report().Text;

  std::vector<ImageByte> described;
  for (const ImageByte& b : ControllerImage(Memory())) {
    if (b.Described) described.push_back(b);
  }
  const ImagePart part = GetParam();
  const size_t first = described.size() * part.Index / part.Of;
  const size_t end = described.size() * (part.Index + 1) / part.Of;
  for (size_t i = first; i < end; i += kPropertyStride) {
    const ImageByte& b = described[i];
    const uint8_t held = *b.Byte;
    // One bit (every position is changed somewhere) and all seven bits at once; each
    // byte stays one the line can carry.
    const uint8_t oneBit = static_cast<uint8_t>(held ^ (1u << (i % 7)));
    const uint8_t allBits = static_cast<uint8_t>(held ^ 0x7F);
    for (uint8_t changed : {oneBit, allBits}) {
      if (kPropertyStride > 1 && changed == allBits) continue;
      *b.Byte = changed;
      EXPECT_FALSE(Run("VerifyAll")) << b.Name << " changed from " << int(held) << " to " << int(changed);
      // A failed verdict names what differs, unless a reply could not be read at all.
      const std::string& text = app.Report().Text;
      EXPECT_TRUE(!app.Report().Result.Differences.empty() || text.find("No valid response") != std::string::npos ||
                  text.find("Invalid Response") != std::string::npos)
          << b.Name << " changed to " << int(changed) << ": no difference listed\n" << text;
    }
    *b.Byte = held;
  }
  // Unchanged again, it compares.
  EXPECT_TRUE(Run("VerifyAll")) << app.Report().Text;
}

INSTANTIATE_TEST_SUITE_P(Image, MutationTest,
                         ::testing::Values(ImagePart{"Part1", 0, 8}, ImagePart{"Part2", 1, 8}, ImagePart{"Part3", 2, 8},
                                           ImagePart{"Part4", 3, 8}, ImagePart{"Part5", 4, 8}, ImagePart{"Part6", 5, 8},
                                           ImagePart{"Part7", 6, 8}, ImagePart{"Part8", 7, 8}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace brixo::testing
