// Every number box of the window refuses a text that is no number: the stored value stays,
// nothing is sent, and the box shows its old value again.
#include <functional>

#include "app/test_panel_commands.h"
#include "app_test_support.h"
#include "files/data_file.h"
#include "model/calculators.h"
#include "model/duration_format.h"
#include "model/numeric_text.h"
#include "transfer/event_control.h"
#include "transfer/general_settings.h"

namespace brixo::testing {
namespace {

const char* const kNotNumbers[] = {"abc", "", "  ", "-", ".", "12abc", "1e5", "3 4", "0x10", "+-2"};

// One number box of the window, as the core handles it.
struct NumberBox {
  std::string Name;
  std::function<void(AppState&)> Prepare;
  // The text the box shows now.
  std::function<std::string(AppState&)> Shown;
  // Commits a typed text; returns the text the box shows afterwards.
  std::function<std::string(AppState&, const std::string&)> Commit;
};

// Everything a commit could change that a user would notice: the configuration as a file
// would hold it, the link addresses, the pin and aspect shown, the live test state and the
// frames the controller received.
std::string Fingerprint(AppState& app) {
  bool quotes = false;
  std::string print = ComposeDataFile(app.Model(), app.General(), app.Events(), false, quotes);
  const ConfigModel& m = app.Model();
  const LiveTestState& live = app.Live().State;
  for (int value : {int(app.Link().ModuleAddress), int(app.Link().ExtendedAddress), int(app.General().FlexAddress),
                    int(app.General().ModuleXAddress), int(m.CurrentPin),
                    int(m.CurrentAspect), int(app.Events().CurrentEventPin), live.PwmTestLevel,
                    live.ServoTestPosition, static_cast<int>(app.Simulator()->Controller().ReceivedPayloads().size())})
    print += "|" + std::to_string(value);
  return print;
}

std::vector<NumberBox> StepBoxes() {
  std::vector<NumberBox> boxes;
  const InstructionTable& table = StandardInstructionTable();
  for (const ChooserEntry& entry : table.ChooserList()) {
    const InstructionInfo& info = table.Info(entry.Opcode);
    const bool used[] = {info.Par0Used, info.Par1Used, info.Par2Used, info.Par3Used};
    for (int par = 0; par < kParCount; ++par) {
      if (!used[par]) continue;
      const uint8_t opcode = entry.Opcode;
      boxes.push_back({"step " + entry.Name + " par " + std::to_string(par),
                       [opcode](AppState& app) {
                         PinEditor& editor = app.Pins().Editor();
                         editor.OptionPAspConf_Click(1);
                         editor.Step(2) = StepRecord{opcode, 0, 1, 2, 3, 1};
                         editor.ShowPin();
                       },
                       [par](AppState& app) { return app.Pins().Editor().View().Rows[2].ParText[par]; },
                       [par](AppState& app, const std::string& typed) {
                         return app.Pins().Editor().CommitPar(2, par, typed);
                       }});
    }
  }
  return boxes;
}

std::vector<NumberBox> OutputBoxes() {
  std::vector<NumberBox> boxes;
  for (const OutputField& field : OutputFields()) {
    const OutputFieldId id = field.Id;
    const int page = field.Page;
    boxes.push_back({std::string("output ") + field.Control,
                     [page](AppState& app) {
                       app.Pins().Output().TabClick(page);
                       app.Pins().Output().ShowOutputConfig();
                     },
                     [id](AppState& app) { return app.Pins().Output().View().FieldText[static_cast<int>(id)]; },
                     [id](AppState& app, const std::string& typed) {
                       app.Pins().Output().EditFieldText(id, typed);  // as typed, key by key
                       return app.Pins().Output().CommitField(id);
                     }});
  }
  return boxes;
}

// A box of the General tab: the text it shows and its commit.
NumberBox GeneralBox(const std::string& name, std::string GeneralSettings::*text,
                     std::string (*commit)(GeneralTab&, const std::string&)) {
  return {name, [](AppState&) {}, [text](AppState& app) { return app.General().*text; },
          [commit](AppState& app, const std::string& typed) {
            GeneralTab tab = GeneralTabOf(app.Transfer());
            return commit(tab, typed);
          }};
}

std::vector<NumberBox> OtherBoxes() {
  const auto none = [](AppState&) {};
  std::vector<NumberBox> boxes = {
      {"pin", none, [](AppState& app) { return app.Pins().Editor().View().TextPAspOutput; },
       [](AppState& app, const std::string& typed) { return app.Pins().Editor().CommitPinNumber(typed); }},
      {"aspect", [](AppState& app) { app.Pins().Editor().OptionPAspConf_Click(2); },
       [](AppState& app) { return app.Pins().Editor().View().TextPAspAspect; },
       [](AppState& app, const std::string& typed) { return app.Pins().Editor().CommitAspect(typed); }},
      {"initial aspect", [](AppState& app) { app.Pins().Editor().OptionPAspConf_Click(1); },
       [](AppState& app) { return app.Pins().Editor().View().TextPAspInit; },
       [](AppState& app, const std::string& typed) { return app.Pins().Editor().CommitInitAspect(typed); }},
      {"module address", none, [](AppState& app) { return app.Addresses().ModuleAddressText(1); },
       [](AppState& app, const std::string& typed) { return app.Addresses().CommitModuleAddressText(typed, 1); }},
      {"extended address", none, [](AppState& app) { return app.Addresses().ExtendedAddressText(1); },
       [](AppState& app, const std::string& typed) { return app.Addresses().CommitExtendedAddressText(typed, 1); }},
      GeneralBox("DCC address", &GeneralSettings::TextGenDCCAddress, CommitTextGenDCCAddress),
      GeneralBox("extended DCC address", &GeneralSettings::TextGenXDCCAddress, CommitTextGenXDCCAddress),
      GeneralBox("flex address", &GeneralSettings::TextGenTamloaddr, CommitTextGenTamloaddr),
      GeneralBox("module extended address", &GeneralSettings::TextGenXaddr, CommitTextGenXaddr),
      {"event pin", none, [](AppState& app) { return app.Events().TextECpin; },
       [](AppState& app, const std::string& typed) {
         return CommitTextECpin(app.Events(), 1, typed, app.View());
       }},
      {"PWM test level", none, [](AppState& app) { return std::to_string(app.Live().State.PwmTestLevel); },
       [](AppState& app, const std::string& typed) { return CommandPWMLevel(app.Live(), typed, false); }},
      {"servo test position", none,
       [](AppState& app) { return std::to_string(app.Live().State.ServoTestPosition); },
       [](AppState& app, const std::string& typed) { return CommandSrvLevel(app.Live(), typed, true); }},
  };
  for (AddressKind kind : {AddressKind::Serial, AddressKind::Dcc, AddressKind::XDcc}) {
    boxes.push_back({"address count " + std::to_string(static_cast<int>(kind)),
                     [](AppState& app) { app.Pins().Addresses().ShowCounts(); },
                     [kind](AppState& app) {
                       const AddressPanelView& v = app.Pins().Addresses().View();
                       return kind == AddressKind::Serial ? v.TextPaspTamlon
                              : kind == AddressKind::Dcc  ? v.TextPaspDCCn
                                                          : v.TextPAspXDCCn;
                     },
                     [kind](AppState& app, const std::string& typed) {
                       return app.Pins().Addresses().CommitCount(kind, typed);
                     }});
  }
  for (int input = 0; input < kEventInputCount; ++input) {
    boxes.push_back({"event on " + std::to_string(input), none,
                     [input](AppState& app) { return app.Events().TextECon[input]; },
                     [input](AppState& app, const std::string& typed) {
                       return CommitTextECon(app.Events(), input, typed);
                     }});
    boxes.push_back({"event off " + std::to_string(input), none,
                     [input](AppState& app) { return app.Events().TextECoff[input]; },
                     [input](AppState& app, const std::string& typed) {
                       return CommitTextECoff(app.Events(), input, typed);
                     }});
  }
  return boxes;
}

class NumberEntryTest : public ::testing::Test {
 protected:
  ManualClock clock;
  RecordingPrompt prompt;
  NoFileChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};

  void SetUp() override {
    ASSERT_TRUE(app.PreloadSimulator(DataFile("demo.dat")));
    ASSERT_TRUE(app.Ports().SelectPort("1"));
    // Values that are not the defaults, so that a silent 0 would show.
    app.Model().CurrentPin = 4;
    app.Link().ModuleAddress = 3;
    app.Simulator()->Controller().SetModuleAddress(3);
    app.Events().OnAction[0] = {5, 7, -1, 2};
    ShowEventPin(app.Events(), app.View());
    GeneralTab tab = GeneralTabOf(app.Transfer());
    CommitTextGenDCCAddress(tab, "20");
    CommitTextGenTamloaddr(tab, "9");
    CommitTextGenXaddr(tab, "4");
    CommandPWMLevel(app.Live(), "12", false);
    CommandSrvLevel(app.Live(), "-20", false);
    app.Pins().ShowPin();
  }

  void ExpectRefusals(const std::vector<NumberBox>& boxes) {
    for (const NumberBox& box : boxes) {
      box.Prepare(app);
      for (const char* typed : kNotNumbers) {
        const std::string before = Fingerprint(app);
        const std::string shown = box.Shown(app);
        EXPECT_EQ(box.Commit(app, typed), shown) << box.Name << " <" << typed << ">";
        EXPECT_EQ(Fingerprint(app), before) << box.Name << " <" << typed << ">";
      }
    }
    EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
  }
};

TEST_F(NumberEntryTest, EveryStepParameterBoxRefusesTextsThatAreNoNumber) { ExpectRefusals(StepBoxes()); }

TEST_F(NumberEntryTest, EveryOutputParameterBoxRefusesTextsThatAreNoNumber) { ExpectRefusals(OutputBoxes()); }

TEST_F(NumberEntryTest, EveryOtherNumberBoxRefusesTextsThatAreNoNumber) { ExpectRefusals(OtherBoxes()); }

// The same boxes take a number: the refusal is not a box that refuses everything.
TEST_F(NumberEntryTest, TheSameBoxesTakeANumber) {
  std::vector<NumberBox> boxes = StepBoxes();
  for (auto more : {OutputBoxes(), OtherBoxes()}) boxes.insert(boxes.end(), more.begin(), more.end());
  for (const NumberBox& box : boxes) {
    box.Prepare(app);
    const std::string before = Fingerprint(app);
    const std::string shown = box.Shown(app);
    // One more than shown, or one less at the top of a range.
    const int value = ParseLeadingNumber(shown);
    const std::string first = box.Commit(app, std::to_string(value + 1));
    const bool changed = Fingerprint(app) != before;
    const std::string second = changed ? first : box.Commit(app, std::to_string(value - 1));
    EXPECT_TRUE(changed || Fingerprint(app) != before) << box.Name << " shows " << shown << ", then " << second;
  }
}

TEST(LegacyFieldTest, ATextThatIsNoNumberGivesBackWhatTheFieldShowed) {
  for (const char* typed : kNotNumbers) EXPECT_EQ(CommitLegacyField(typed, "17"), "17") << typed;
  EXPECT_EQ(CommitLegacyField(" 12.4 ", "17"), "12");
}

TEST(TimeCalculatorTest, ABaseThatIsNoNumberKeepsTheBase) {
  for (const char* typed : kNotNumbers) {
    TimeCalculator calc;
    calc.Preset("2", 40);
    EXPECT_EQ(calc.CommitBase(typed), "2") << typed;
    EXPECT_EQ(calc.Base(), 2) << typed;
    EXPECT_EQ(calc.MaxTimeValue(), FormatDuration(63, 2)) << typed;
  }
}

TEST(RefusedNumberNoteTest, NamesWhatWasTypedAndWhatWasKept) {
  EXPECT_EQ(RefusedNumberNote("abc", "20"), "\"abc\" is not a number: kept 20");
  EXPECT_EQ(RefusedNumberNote("", "-1"), "An empty box is not a number: kept -1");
}

}  // namespace
}  // namespace brixo::testing
