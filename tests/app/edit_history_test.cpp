// Undo and redo of the editor, and the question before unsaved edits are lost: each kind of
// edit a user can make is undone and redone byte for byte, without a frame to the
// controller; the modified mark follows the last file saved or loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/baseline_changes.h"
#include "app/result_text.h"
#include "app_test_support.h"
#include "files/data_file.h"
#include "files/device_library.h"
#include "model/edit_operations.h"
#include "support/scratch_folder.h"
#include "support/scripted_chooser.h"
#include "transfer/config_fields.h"
#include "transfer/event_control.h"

namespace brixo::testing {
namespace {

// What a save would write, and the pins as records (a save leaves out nothing of them but
// the unused steps of a layout).
struct Saved {
  std::string Text;
  PinArray Pins;
  bool operator==(const Saved&) const = default;
};

Saved SaveOf(AppState& app) {
  ConfigModel model = app.Model();  // a save may tidy the model it writes
  bool quotes = false;
  return {ComposeDataFile(model, app.General(), app.Events(), false, quotes), app.Model().PinTable};
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class EditHistoryTest : public ::testing::Test {
 public:
  void SetUp() override {
    ASSERT_TRUE(app.Ports().SelectPort("1"));
    chooser.Answers.push_back(DataFile("demo.dat"));
    ASSERT_TRUE(app.LoadFile());
    ASSERT_FALSE(app.Modified());
    prompt.Clear();
  }

  bool Run(const std::string& command) {
    if (!app.Commands().PostCommand(command)) return false;
    app.RunPendingCommand();
    return app.Commands().LastSucceeded();
  }

  ScratchFolder scratch;
  ManualClock clock;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
};

struct EditCase {
  const char* Name;
  std::function<void(EditHistoryTest&, AppState&)> Edit;
};

const EditCase kEdits[] = {
    {"typed step parameter", [](auto&, AppState& app) { app.Pins().Editor().CommitPar(0, 1, "77"); }},
    {"instruction choice", [](auto&, AppState& app) { app.Pins().Editor().ChooseInstruction(1, 3); }},
    {"fade box",
     [](auto&, AppState& app) {
       const ConfigModel& m = app.Model();
       app.Pins().Editor().SetFade(0, m.PinTable[m.CurrentPin].Aspects[m.CurrentAspect].Steps[0].Fade == 0);
     }},
    {"pin description", [](auto&, AppState& app) { app.Pins().Editor().SetPinDescription("Yard lamp"); }},
    {"aspect description", [](auto&, AppState& app) { app.Pins().Editor().SetAspectDescription("Halt"); }},
    {"layout choice", [](auto&, AppState& app) { app.Pins().Editor().OptionPAspConf_Click(2); }},
    {"output page switch", [](auto&, AppState& app) { app.Pins().Output().TabClick(kPageServo); }},
    {"Load Device",
     [](auto&, AppState& app) {
       app.Model().CurrentPin = 20;
       ASSERT_TRUE(LoadDeviceText(app.DeviceFiles(), ReadText(DataFile("BrixoDevices.def")),
                                  "Signal 2-aspect red/green"));
     }},
    {"Paste Pin",
     [](auto&, AppState& app) {
       PinClipboard clip;
       app.Model().CurrentPin = 0;
       CopyPin(app.Model(), clip);
       app.Model().CurrentPin = 30;
       PastePin(app.Model(), clip);
     }},
    {"Clear Pin",
     [](auto&, AppState& app) {
       app.Model().CurrentPin = 0;
       ClearCurrentPin(app.Model());
     }},
    {"Clear Aspect", [](auto&, AppState& app) { ClearAspect(app.Model()); }},
    {"Paste Aspect",
     [](auto&, AppState& app) {
       AspectClipboard clip;
       CopyAspect(app.Model(), clip);
       app.Model().CurrentAspect = 3;
       PasteAspect(app.Model(), clip);
       app.Model().CurrentAspect = 0;
     }},
    {"device pin",
     [](auto&, AppState& app) {
       app.Pins().Editor().ChangeDevicePin("3");
       app.Pins().Editor().LeaveDevicePin();
     }},
    {"Insert Step", [](auto&, AppState& app) { InsertStep(app.Model(), 0); }},
    {"Delete Step", [](auto&, AppState& app) { DeleteStep(app.Model(), 0); }},
    {"Copy to All",
     [](auto&, AppState& app) {
       app.Events().TextECon[2] = "5";
       CopyEventActionsToAll(app.Events());
     }},
    {"enable map box", [](auto&, AppState& app) { SetCheckInitEE(app.Events(), 6, !app.Events().CheckInitEE[6]); }},
    {"identification string", [](auto&, AppState& app) { app.General().TextGenIDString = "Yard \"7\""; }},
    {"LED function", [](auto&, AppState& app) { app.General().CheckLCGreen[2] ^= 1; }},
    {"Load File",
     [](EditHistoryTest& t, AppState& app) {
       const std::string path = t.scratch / "undo_other.dat";
       app.General().TextGenIDString = "Other";
       ASSERT_TRUE(SaveDataFileTo(app.DataFiles(), path, false));
       ASSERT_TRUE(app.Undo());  // back to demo.dat, then load the other file over it
       t.chooser.Answers.push_back(path);
       ASSERT_TRUE(app.LoadFile());
     }},
    {"Read All", [](EditHistoryTest& t, auto&) { ASSERT_TRUE(t.Run("ReadAll")); }},
    {"Read Pin", [](EditHistoryTest& t, auto&) { ASSERT_TRUE(t.Run("ReadPin")); }},
    {"Read Asp's", [](EditHistoryTest& t, auto&) { ASSERT_TRUE(t.Run("PAspReadPin")); }},
    {"Read All Devices", [](EditHistoryTest& t, auto&) { ASSERT_TRUE(t.Run("ReadAllPins")); }},
    {"Read All Events", [](EditHistoryTest& t, auto&) { ASSERT_TRUE(t.Run("ECReadAll")); }},
};

// The pins whose records differ from the baseline's, the level last reported aside (it is
// no field of the configuration).
std::array<bool, kPinCount> PinsDiffering(AppState& app) {
  std::array<bool, kPinCount> differing{};
  for (int p = 0; p < kPinCount; ++p) {
    PinRecord now = app.Model().PinTable[p];
    now.OutputLevel = app.Baseline().Pins[p].OutputLevel;
    differing[p] = now != app.Baseline().Pins[p];
  }
  return differing;
}

TEST_F(EditHistoryTest, EveryKindOfEditUndoesAndRedoesByteForByteWithoutAFrame) {
  for (const EditCase& edit : kEdits) {
    SCOPED_TRACE(edit.Name);
    const Saved before = SaveOf(app);
    edit.Edit(*this, app);
    app.NoteEdits();  // as the window does when the action ends
    const Saved after = SaveOf(app);
    ASSERT_NE(after, before) << "the edit changed nothing";
    // The overview marks the pins the edit changed since the last load, save or Read All.
    EXPECT_EQ(PinsChangedSinceBaseline(app), PinsDiffering(app));

    const size_t lines = app.Log().LineCount();
    ASSERT_TRUE(app.Undo());
    EXPECT_EQ(SaveOf(app), before);
    ASSERT_TRUE(app.Redo());
    EXPECT_EQ(SaveOf(app), after);
    ASSERT_TRUE(app.Undo());
    EXPECT_EQ(SaveOf(app), before);
    EXPECT_EQ(app.Log().LineCount(), lines) << "undo or redo talked to the controller";
    // Load File and Read All move what "modified" compares with; until then, undoing
    // comes back to the file loaded.
    if (app.DocumentPath() == DataFile("demo.dat")) {
      EXPECT_FALSE(app.Modified()) << "back where demo.dat left it";
      EXPECT_EQ(PinsChangedSinceBaseline(app), (std::array<bool, kPinCount>{})) << "a pin still marked changed";
    }
  }
  EXPECT_TRUE(prompt.Messages.empty()) << prompt.Messages.front();
}

TEST_F(EditHistoryTest, StepsReachBackAtLeastAHundredActionsAndANewEditEndsRedo) {
  const Saved loaded = SaveOf(app);
  std::vector<Saved> states;
  for (int i = 0; i < 150; ++i) {
    app.General().TextGenIDString = "Step " + std::to_string(i);
    app.NoteEdits();
    states.push_back(SaveOf(app));
  }
  app.NoteEdits();  // nothing changed since: no step
  for (int i = 148; i >= 0; --i) {
    ASSERT_TRUE(app.Undo()) << i;
    ASSERT_EQ(SaveOf(app), states[i]) << i;
  }
  ASSERT_TRUE(app.Undo());
  EXPECT_EQ(SaveOf(app), loaded);
  ASSERT_TRUE(app.Undo()) << "Load File is a step too";
  EXPECT_FALSE(app.CanUndo());

  // A long session keeps the newest steps.
  for (int i = 0; i < 300; ++i) {
    app.General().TextGenIDString = "Long " + std::to_string(i);
    app.NoteEdits();
  }
  int steps = 0;
  while (app.Undo()) ++steps;
  EXPECT_GE(steps, 100);
  EXPECT_EQ(app.General().TextGenIDString, "Long " + std::to_string(299 - steps));

  ASSERT_TRUE(app.Redo());
  app.Pins().Editor().SetPinDescription("New");
  app.NoteEdits();
  EXPECT_FALSE(app.CanRedo());
}

TEST_F(EditHistoryTest, TheModifiedMarkComparesWithTheLastFileSavedOrLoaded) {
  const std::string demo = DataFile("demo.dat");
  EXPECT_EQ(WindowTitle(app.DocumentPath(), app.Modified()), "demo.dat \u2014 Brixo Config");
  app.Pins().Editor().SetPinDescription("Changed");
  EXPECT_TRUE(app.Modified());
  EXPECT_EQ(WindowTitle(app.DocumentPath(), app.Modified()), "demo.dat* \u2014 Brixo Config");
  // Changed back by hand, or undone: the mark goes.
  app.Undo();
  EXPECT_FALSE(app.Modified());
  app.Redo();
  EXPECT_TRUE(app.Modified());

  const std::string copy = scratch / "undo_saved.dat";
  chooser.Answers.push_back(copy);
  ASSERT_TRUE(app.SaveAs());
  EXPECT_FALSE(app.Modified());
  EXPECT_EQ(app.DocumentPath(), copy);
  EXPECT_EQ(WindowTitle(app.DocumentPath(), app.Modified()), "undo_saved.dat \u2014 Brixo Config");
  // Undoing past the save differs from the file saved.
  app.Undo();
  EXPECT_TRUE(app.Modified());

  // A Read All holds what the controller holds: no file, nothing unsaved.
  ASSERT_TRUE(Run("ReadAll"));
  EXPECT_FALSE(app.Modified());
  EXPECT_EQ(WindowTitle(app.DocumentPath(), app.Modified()), "Brixo Config");
  app.General().TextGenIDString = "Yard";
  EXPECT_EQ(WindowTitle(app.DocumentPath(), app.Modified()), "Untitled* \u2014 Brixo Config");
}

// "Save changes to demo.dat?" before Load File and Read All replace unsaved edits.
struct QuestionCase {
  const char* Name;
  MessageAnswer Answer;
  bool GoesAhead;
  bool Saves;
};

class SaveQuestionTest : public EditHistoryTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(SaveQuestionTest, LoadFileAndReadAllOverUnsavedEditsAskFirst) {
  const QuestionCase c = GetParam();
  const std::string path = scratch / "undo_question.dat";
  std::filesystem::copy_file(DataFile("demo.dat"), path, std::filesystem::copy_options::overwrite_existing);
  chooser.Answers.push_back(path);
  ASSERT_TRUE(app.LoadFile());
  const std::string onDisk = ReadText(path);

  for (const char* operation : {"Load File", "Read All"}) {
    SCOPED_TRACE(operation);
    app.General().TextGenIDString = "Unsaved";
    const Saved edited = SaveOf(app);
    prompt.Clear();
    prompt.Answers = {c.Answer};
    bool wentAhead = false;
    if (std::string(operation) == "Load File") {
      chooser.Answers.push_back(DataFile("demo.dat"));
      wentAhead = app.LoadFile();
      chooser.Answers.clear();
    } else {
      wentAhead = app.MayReplaceEdits() && Run("ReadAll");
    }
    ASSERT_FALSE(prompt.Shown.empty());
    EXPECT_EQ(prompt.Shown.front().Text, "Save changes to undo_question.dat?");
    EXPECT_EQ(prompt.Shown.front().Buttons, MessageButtons::SaveDiscardCancel);
    EXPECT_EQ(wentAhead, c.GoesAhead);
    if (!c.GoesAhead) {
      EXPECT_EQ(SaveOf(app), edited) << "the edits are kept";
    }
    EXPECT_EQ(ReadText(path).find("Unsaved") != std::string::npos, c.Saves);
    std::filesystem::copy_file(DataFile("demo.dat"), path, std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(ReadText(path), onDisk);
    // The next round starts from the file again.
    if (app.DocumentPath() != path) {
      prompt.Answers = {MessageAnswer::Discard};
      chooser.Answers.push_back(path);
      ASSERT_TRUE(app.LoadFile());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveQuestionTest,
                         ::testing::Values(QuestionCase{"Save", MessageAnswer::Save, true, true},
                                           QuestionCase{"Discard", MessageAnswer::Discard, true, false},
                                           QuestionCase{"Cancel", MessageAnswer::Cancel, false, false},
                                           QuestionCase{"Dismissed", MessageAnswer::Dismissed, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(EditHistoryTest, ShowingOtherPinsOrNumbersIsNoEdit) {
  app.SetStartNumberingAtOne(false);
  app.Pins().Editor().CommitPinNumber("5");
  app.Events().CurrentEventPin = 7;
  ShowEventPin(app.Events(), app.View());
  EXPECT_FALSE(app.Modified());
  app.SetStartNumberingAtOne(true);
  EXPECT_FALSE(app.Modified());
  ASSERT_TRUE(app.Undo());
  EXPECT_TRUE(app.Modified()) << "the step undone is the load itself";
  EXPECT_FALSE(app.CanUndo());
}

TEST_F(EditHistoryTest, UndoShowsThePinItChanges) {
  app.Model().CurrentPin = 30;
  app.Pins().Editor().SetPinDescription("Far away");
  app.NoteEdits();
  app.Pins().Editor().CommitPinNumber("2");
  ASSERT_EQ(app.Model().CurrentPin, 1);
  ASSERT_TRUE(app.Undo());
  EXPECT_EQ(app.Model().CurrentPin, 30);
  EXPECT_EQ(app.Pins().Editor().View().TextPAspOutput, "31");
  // Redone while pin 31 is shown: it stays.
  ASSERT_TRUE(app.Redo());
  EXPECT_EQ(app.Model().CurrentPin, 30);
  EXPECT_EQ(app.Model().PinTable[30].Description, "Far away");
}

TEST_F(EditHistoryTest, NoQuestionWithoutUnsavedEdits) {
  app.General().TextGenIDString = "Unsaved";
  app.NoteEdits();
  app.Undo();
  chooser.Answers.push_back(DataFile("demo.dat"));
  EXPECT_TRUE(app.LoadFile());
  EXPECT_TRUE(app.MayReplaceEdits());
  EXPECT_TRUE(prompt.Messages.empty());
}

// Every field a data file holds, changed alone through whatever setting reaches it, is one
// undo step that marks the editor modified and is undone byte for byte. A field no edit
// below reaches fails here, so a new kind of field cannot slip past the record.
using Mutation = std::function<void(EditorContent&)>;

std::vector<Mutation> SettingMutations() {
  std::vector<Mutation> m;
  auto flip = [&m](auto member) { m.push_back([member](EditorContent& c) { c.General.*member = !(c.General.*member); }); };
  flip(&GeneralSettings::CheckGenForceXA);
  flip(&GeneralSettings::CheckGenBrixoNative);
  flip(&GeneralSettings::CheckGenTamloaddr);
  flip(&GeneralSettings::ChkGenDCC_BPSI);
  flip(&GeneralSettings::ChkGenDCCAllow0);
  flip(&GeneralSettings::CheckGenSerialEnable);
  m.push_back([](EditorContent& c) { c.General.TextGenIDString += "x"; });
  m.push_back([](EditorContent& c) { c.General.TextGenDCCAddress = "9"; });
  m.push_back([](EditorContent& c) { c.General.TextGenXDCCAddress = "9"; });
  m.push_back([](EditorContent& c) { c.General.TextGenTamloaddr = "9"; });
  m.push_back([](EditorContent& c) { c.General.TextGenXaddr = "9"; });
  m.push_back([](EditorContent& c) { c.General.FlexAddress ^= 1; });
  m.push_back([](EditorContent& c) { c.General.ModuleXAddress ^= 1; });
  m.push_back([](EditorContent& c) { c.General.OptGenDCC_PRP = (c.General.OptGenDCC_PRP + 1) % 4; });
  m.push_back([](EditorContent& c) { c.General.ComboGenBaud = (c.General.ComboGenBaud + 1) % 8; });
  m.push_back([](EditorContent& c) { c.General.OptionGenSerialDatabits ^= 1; });
  m.push_back([](EditorContent& c) { c.General.OptionGenSerialStop ^= 1; });
  m.push_back([](EditorContent& c) { c.General.OptionGenSerialParity = c.General.OptionGenSerialParity == 2 ? 3 : 2; });
  for (int i = 0; i < 16; ++i) m.push_back([i](EditorContent& c) { c.General.CheckGenXGM[i] = !c.General.CheckGenXGM[i]; });
  for (int i = 0; i < 4; ++i) {
    m.push_back([i](EditorContent& c) { c.General.ChkGenHWCSink[i] = !c.General.ChkGenHWCSink[i]; });
    m.push_back([i](EditorContent& c) { c.General.ChkGenHWCSource[i] = !c.General.ChkGenHWCSource[i]; });
  }
  for (int i = 0; i < 8; ++i) {
    m.push_back([i](EditorContent& c) { c.General.CheckLCGreen[i] = c.General.CheckLCGreen[i] == 1 ? 0 : 1; });
    m.push_back([i](EditorContent& c) { c.General.CheckLCOrange[i] = c.General.CheckLCOrange[i] == 1 ? 0 : 1; });
  }
  for (int k = 0; k < 8; ++k) m.push_back([k](EditorContent& c) { c.Events.CheckInitEE[k] = !c.Events.CheckInitEE[k]; });
  return m;
}

// The change of one field of a pin, an aspect or a step.
void MutatePinField(const FieldId& id, PinRecord& pin) {
  AspectRecord& aspect = pin.Aspects[std::max<int>(id.Aspect, 0)];
  StepRecord& step = aspect.Steps[std::max<int>(id.Step, 0)];
  switch (id.Kind) {
    case FieldKind::AspectConfig: pin.AspectConfig = pin.AspectConfig == 3 ? 2 : 3; break;
    case FieldKind::InitAspect: pin.InitAspect ^= 1; break;
    case FieldKind::PinDescription: pin.Description += "x"; break;
    case FieldKind::DevicePointer: pin.DevicePointer = pin.DevicePointer == 0 ? -1 : 0; break;
    case FieldKind::DeviceDescription: pin.DeviceDescription += "x"; break;
    case FieldKind::OutputByte: pin.OutputConfig[std::max<int>(id.Index, 0)] ^= 1; break;
    case FieldKind::XDccCount: pin.XDccAddressCount ^= 1; break;
    case FieldKind::DccCount: pin.DccAddressCount ^= 1; break;
    case FieldKind::SerialCount: pin.SerialAddressCount ^= 1; break;
    case FieldKind::AspectDescription: aspect.Description += "x"; break;
    case FieldKind::StepCode: step.Instruction ^= 1; break;
    case FieldKind::StepPar0: step.Par0 ^= 1; break;
    case FieldKind::StepPar1: step.Par1 ^= 1; break;
    case FieldKind::StepPar2: step.Par2 ^= 1; break;
    case FieldKind::StepPar3: step.Par3 ^= 1; break;
    default: break;
  }
}

void Take(AppState& app, const EditorContent& c) {
  app.Model().PinTable = c.Pins;
  app.General() = c.General;
  app.Events() = c.Events;
}

TEST_F(EditHistoryTest, EveryFieldChangedAloneIsOneStepUndoneByteForByte) {
  const EditorContent loaded{app.Model().PinTable, app.General(), app.Events()};
  const Saved before = SaveOf(app);
  const std::vector<Mutation> settings = SettingMutations();
  int checked = 0;
  for (const FieldId& id : AllFields()) {
    // One pin, aspect and step stand for all: their fields are the same records.
    if (id.Pin > 0 && id.Kind != FieldKind::OnAction && id.Kind != FieldKind::OffAction) continue;
    if (id.Aspect > 1 || id.Step > 1) continue;
    const std::string name = FieldName(id, 1);
    const ConfigModel model{loaded.Pins};
    const std::string held = FieldText(id, {model, loaded.General, loaded.Events});
    EditorContent changed = loaded;
    if (id.Kind == FieldKind::OnAction || id.Kind == FieldKind::OffAction) {
      auto& actions = id.Kind == FieldKind::OnAction ? changed.Events.OnAction : changed.Events.OffAction;
      actions[id.Pin][id.Index] = static_cast<int16_t>(actions[id.Pin][id.Index] == 3 ? 4 : 3);
    } else if (id.Kind >= FieldKind::AspectConfig) {
      MutatePinField(id, changed.Pins[std::max<int>(id.Pin, 0)]);
    } else {
      for (const Mutation& mutate : settings) {
        EditorContent tried = loaded;
        mutate(tried);
        const ConfigModel triedModel{tried.Pins};
        if (FieldText(id, {triedModel, tried.General, tried.Events}) != held) {
          changed = tried;
          break;
        }
      }
    }
    const ConfigModel changedModel{changed.Pins};
    ASSERT_NE(FieldText(id, {changedModel, changed.General, changed.Events}), held) << "no edit reaches " << name;

    Take(app, changed);
    app.NoteEdits();
    EXPECT_TRUE(app.Modified()) << name;
    // Edit > Undo names the field as the editor captions it (a general setting by its
    // name); a field that moves another with it is counted instead.
    const EditStep step = app.UndoStep();
    EXPECT_EQ(step.Field, std::optional<FieldId>(id)) << name;
    const ConfigurationRef now{app.Model(), app.General(), app.Events()};
    const std::string label = id.Kind < FieldKind::OnAction ? name : FieldLabel(id, now);
    const std::string text = EditMenuText("Undo", step);
    EXPECT_TRUE(text == "Undo " + label || text.ends_with(" changes")) << text << " for " << name;
    ASSERT_TRUE(app.Undo()) << name << " was not recorded";
    EXPECT_EQ(EditMenuText("Redo", app.RedoStep()), "Redo" + text.substr(4)) << name;
    EXPECT_EQ(SaveOf(app), before) << name;
    EXPECT_FALSE(app.Modified()) << name;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

// The names a user reads in the Edit menu, as the field table and the editor give them.
TEST_F(EditHistoryTest, UndoAndRedoSayWhatTheyChange) {
  EXPECT_EQ(EditMenuText("Redo", app.RedoStep()), "Redo");
  app.General().TextGenIDString = "Yard 7";
  app.NoteEdits();
  EXPECT_EQ(EditMenuText("Undo", app.UndoStep()), "Undo ID string");
  StepRecord& step = app.Model().PinTable[0].Aspects[0].Steps[3];
  step.Instruction = step.Instruction == 8 ? 9 : 8;  // "Off" or "On": the first box is "P.O."
  step.Par0 = step.Par0 == 2 ? 3 : 2;
  step.Par1 = step.Par1 == 5 ? 6 : 5;
  app.NoteEdits();
  EXPECT_EQ(EditMenuText("Undo", app.UndoStep()), "Undo 3 changes");
  step.Par0 = step.Par0 == 2 ? 3 : 2;
  app.NoteEdits();
  EXPECT_EQ(EditMenuText("Undo", app.UndoStep()), "Undo pin 1 aspect 0 step 3 P.O.");
  app.Events().OnAction[4][2] = app.Events().OnAction[4][2] == 3 ? 4 : 3;
  app.NoteEdits();
  EXPECT_EQ(EditMenuText("Undo", app.UndoStep()), "Undo event pin 5 input 2 ON");
  ASSERT_TRUE(app.Undo());
  EXPECT_EQ(EditMenuText("Redo", app.RedoStep()), "Redo event pin 5 input 2 ON");
  EXPECT_EQ(EditMenuText("Undo", app.UndoStep()), "Undo pin 1 aspect 0 step 3 P.O.");
}

}  // namespace
}  // namespace brixo::testing
