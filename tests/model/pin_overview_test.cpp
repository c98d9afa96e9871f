// The pin overview against the pin editor: for every pin of random configurations, under
// random link and General settings, the address columns read what the editor's labels
// read when that pin is shown; the number filter finds exactly the pins that answer to a
// number; the CSV reads back (as a spreadsheet would) to the same texts.
#include <gtest/gtest.h>

#include "model/address_panel.h"
#include "model/pin_overview.h"
#include "support/csv_records.h"
#include "support/random_configuration.h"

namespace brixo {
namespace {

using testing::ConfigurationDice;

constexpr int kConfigurations = 60;

AddressInputs RandomInputs(ConfigurationDice& dice) {
  AddressInputs in;
  in.ModuleAddress = dice.Between(0, 31);
  in.ExtendedAddress = dice.Between(0, 95);
  in.CheckXaddress = dice.Coin();
  in.CheckGenTamloaddr = dice.Coin(30);
  in.CheckGenBrixoNative = !in.CheckGenTamloaddr && dice.Coin();
  in.FlexAddress = dice.Between(0, 127);
  in.DccFirstOutput = dice.Between(0, 2044);
  in.XDccFirstOutput = dice.Between(0, 2044);
  return in;
}

// What the editor's address labels read with pin `p` shown.
AddressPanelView EditorLabels(ConfigModel model, const AddressInputs& in, int p) {
  AddressMaps maps;
  AddressPanel panel(model, maps);
  panel.SetInputs(in);
  model.CurrentPin = static_cast<uint8_t>(p);
  panel.BuildMaps();
  panel.ShowCounts();
  panel.ShowAddresses();
  return panel.View();
}

TEST(PinOverview, AddressColumnsReadWhatTheEditorShowsForEveryPin) {
  for (unsigned seed = 1; seed <= kConfigurations; ++seed) {
    ConfigurationDice dice(seed);
    const ConfigModel model = dice.Configuration().Model;
    const AddressInputs in = RandomInputs(dice);
    const std::vector<PinOverviewRow> rows = BuildPinOverview(model, in);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kPinCount));
    for (int p = 0; p < kPinCount; ++p) {
      SCOPED_TRACE("seed " + std::to_string(seed) + " pin " + std::to_string(p));
      const AddressPanelView editor = EditorLabels(model, in, p);
      EXPECT_EQ(rows[p].PinText, std::to_string(p + model.NumberingOffset));
      EXPECT_EQ(rows[p].DccFirst, editor.lblDCCAddress);
      EXPECT_EQ(rows[p].XDccFirst, editor.lblXDCCAddress);
      EXPECT_EQ(rows[p].SerialFirst, editor.Serial.lblSerialAddress);
      EXPECT_EQ(rows[p].PinAddress, editor.Serial.lblPinAddress);
      EXPECT_EQ(std::to_string(rows[p].DccCount), editor.TextPaspDCCn);
      EXPECT_EQ(std::to_string(rows[p].XDccCount), editor.TextPAspXDCCn);
      EXPECT_EQ(std::to_string(rows[p].SerialCount), editor.TextPaspTamlon);
    }
  }
}

// What the editor's serial label reads for a pin whose serial addresses start at `start`:
// shown on pin 31 with every address before it on pin 0.
std::string SerialLabelAt(const AddressInputs& in, int numberingOffset, int start) {
  ConfigModel probe;
  probe.NumberingOffset = static_cast<uint8_t>(numberingOffset);
  probe.PinTable[0].SerialAddressCount = static_cast<uint8_t>(start);
  probe.PinTable[31].SerialAddressCount = 1;
  return EditorLabels(probe, in, 31).Serial.lblSerialAddress;
}

// Whether a pin answers to a number, worked out from the editor's labels alone: the basic
// and extended DCC outputs counted on from the label, and the label each of the pin's
// serial addresses would have.
bool AnswersTo(const ConfigModel& model, const std::vector<std::string>& serialLabels, const PinOverviewRow& row,
               int number) {
  auto within = [number](const std::string& first, int count) {
    return first != "-" && number >= std::stoi(first) && number < std::stoi(first) + count;
  };
  if (within(row.DccFirst, row.DccCount) || within(row.XDccFirst, row.XDccCount)) return true;
  int start = 0;
  for (int q = 0; q < row.Pin; ++q) start += model.PinTable[q].SerialAddressCount;
  for (int k = 0; k < row.SerialCount; ++k) {
    if (serialLabels[start + k] == std::to_string(number)) return true;
  }
  return false;
}

TEST(PinOverview, ANumberFindsThePinsThatAnswerToIt) {
  for (unsigned seed = 1; seed <= kConfigurations / 3; ++seed) {
    ConfigurationDice dice(seed);
    const ConfigModel model = dice.Configuration().Model;
    const AddressInputs in = RandomInputs(dice);
    const std::vector<PinOverviewRow> rows = BuildPinOverview(model, in);
    std::vector<std::string> serialLabels;
    for (int start = 0; start < 256; ++start) serialLabels.push_back(SerialLabelAt(in, model.NumberingOffset, start));
    std::vector<int> numbers;
    for (const PinOverviewRow& row : rows) {
      for (const std::string& first : {row.DccFirst, row.XDccFirst, row.SerialFirst}) {
        if (first != "-") numbers.insert(numbers.end(), {std::stoi(first), std::stoi(first) + 1, std::stoi(first) - 1});
      }
    }
    for (const int number : numbers) {
      for (const PinOverviewRow& row : rows) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " pin " + std::to_string(row.Pin) + " number " +
                     std::to_string(number));
        EXPECT_EQ(RowMatchesFilter(row, " " + std::to_string(number) + " "), AnswersTo(model, serialLabels, row, number));
      }
    }
  }
}

TEST(PinOverview, TextFilterMatchesDescriptionsAndDeviceNamesWhateverTheCase) {
  ConfigModel model;
  model.PinTable[0].Description = "Signal Red";
  model.PinTable[0].DeviceDescription = "Entry signal";
  model.PinTable[1].DevicePointer = -1;
  model.PinTable[2].Description = "Crossing";
  const std::vector<PinOverviewRow> rows = BuildPinOverview(model, {});
  const struct {
    const char* filter;
    std::vector<int> pins;
  } cases[] = {{"", {0, 1, 2, 3}}, {"red", {0}}, {"ENTRY", {0, 1}}, {"cross", {2}}, {"signal", {0, 1}}, {"x", {}}};
  for (const auto& c : cases) {
    std::vector<int> found;
    for (const PinOverviewRow& row : rows) {
      if (row.Pin < 4 && RowMatchesFilter(row, c.filter)) found.push_back(row.Pin);
    }
    EXPECT_EQ(found, c.pins) << "filter \"" << c.filter << "\"";
  }
  EXPECT_EQ(rows[1].Device, "1 Entry signal");
  EXPECT_EQ(rows[3].Device, "");
}

TEST(PinOverview, SortsNumbersAsNumbersWithNoneLastAndKeepsPinOrderForTies) {
  ConfigModel model;
  model.NumberingOffset = 0;
  for (int p = 0; p < kPinCount; ++p) model.PinTable[p].SerialAddressCount = p % 3 == 0 ? 0 : 5;
  PinOverview overview;
  overview.Refresh(model, {}, {});
  overview.SortBy(OverviewColumn::PinAddress);
  const auto& rows = overview.Rows();
  // "0.5" before "0.10"; pins without a serial address ("-") last, in pin order.
  EXPECT_EQ(rows[0].PinAddress, "0.0");
  EXPECT_EQ(rows[1].PinAddress, "0.5");
  EXPECT_EQ(rows[2].PinAddress, "0.10");
  EXPECT_EQ(rows.back().Pin, 30);
  EXPECT_EQ(rows[rows.size() - 11].PinAddress, "-");
  overview.SortBy(OverviewColumn::PinAddress);
  EXPECT_FALSE(overview.Ascending());
  EXPECT_EQ(overview.Rows().front().PinAddress, "-");
  EXPECT_EQ(overview.Rows().front().Pin, 0);
}

TEST(PinOverview, CsvReadsBackToTheOverviewsTexts) {
  for (unsigned seed = 1; seed <= kConfigurations / 3; ++seed) {
    ConfigurationDice dice(seed);
    ConfigModel model = dice.Configuration().Model;
    // Texts a CSV must quote: commas, quotes, line ends, and Latin-1 letters.
    const char* awkward[] = {"a,b", "say \"hi\"", "two\r\nlines", "Gr\xFCn", "\"", ","};
    for (int p = 0; p < kPinCount; p += 3) model.PinTable[p].Description = awkward[dice.Between(0, 5)];
    model.PinTable[1].DevicePointer = 0;
    model.PinTable[1].DeviceDescription = "dev, \"x\"";
    const std::vector<PinOverviewRow> rows = BuildPinOverview(model, RandomInputs(dice));
    const auto records = testing::ParseCsv(AddressesCsv(rows));
    ASSERT_EQ(records.size(), rows.size() + 1);
    EXPECT_EQ(testing::ParseCsv(std::string(kAddressesCsvHeader) + "\n")[0], records[0]);
    for (size_t r = 0; r < rows.size(); ++r) {
      const PinOverviewRow& row = rows[r];
      const std::vector<std::string> expected = {
          row.PinText,   row.Description, row.Device, row.DccFirst,
          std::to_string(row.DccCount), row.XDccFirst,     std::to_string(row.XDccCount),
          row.SerialFirst, std::to_string(row.SerialCount), row.PinAddress};
      EXPECT_EQ(records[r + 1], expected) << "seed " << seed << " row " << r;
    }
  }
}

}  // namespace
}  // namespace brixo
