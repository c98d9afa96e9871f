// What the application says about an operation that has just ended, and the start-up
// helpers of the window (port selection).
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/help_files.h"
#include "app/result_text.h"
#include "app_test_support.h"
#include "support/scripted_chooser.h"

namespace brixo::testing {
namespace {

// Counts the results shown and lets a "user" keep the verification report open a while.
class ResultObserver : public AppObserver {
 public:
  explicit ResultObserver(ManualClock& clock) : clock_(clock) {}
  void ShowResult(const std::string& text) override { Results.push_back(text); }
  void ShowReport() override { clock_.Advance(60.0); }
  std::vector<std::string> Results;

 private:
  ManualClock& clock_;
};

class AppResultsTest : public ::testing::Test {
 protected:
  AppResultsTest() {
    EXPECT_TRUE(app.PreloadSimulator(DataFile("demo.dat")));
    app.SetObserver(&observer);
  }
  void Open() {
    ASSERT_TRUE(app.SelectDevice(kSimulatedPortName));
    // Every reply takes 10 ms of the manual clock, so that runs take a known time.
    app.Simulator()->SetReplyDelay(0.01);
  }
  bool Run(const std::string& command) {
    if (!app.Commands().PostCommand(command)) return false;
    app.RunPendingCommand();
    return true;
  }
  static double SecondsIn(const std::string& text) {
    std::smatch m;
    const std::regex seconds(R"(([0-9]+\.[0-9]) s$)");
    return std::regex_search(text, m, seconds) ? std::stod(m[1]) : -1.0;
  }

  ManualClock clock;
  RecordingPrompt prompt;
  ScriptedChooser chooser;
  AppState app{prompt, chooser, SimulatedOnly(clock)};
  ResultObserver observer{clock};
};

TEST(ResultTextTest, EveryDeferredCommandHasItsCaptionAndWords) {
  ConfigModel model;
  model.CurrentPin = 4;
  VerificationReport report;
  for (const std::string& name : DeferredCommands::CommandNames()) {
    const std::string caption = CommandCaption(name);
    // Found in the table: a caption of its own, except where the name is the caption.
    EXPECT_TRUE(caption != name || name == "Compare") << name;
    const std::string ok = CommandResultText(name, true, 3.25, model, report);
    const std::string failed = CommandResultText(name, false, 3.25, model, report);
    EXPECT_EQ(ok.rfind(caption, 0), 0u) << ok;
    EXPECT_EQ(failed, caption + " stopped after 3.2 s") << name;
    EXPECT_NE(ok.find(" 3.2 s"), std::string::npos) << ok;
  }
  EXPECT_EQ(CommandResultText("ReadAll", true, 14.83, model, report), "Read All: 32 pins in 14.8 s");
  EXPECT_EQ(CommandResultText("WritePin", true, 0.4, model, report), "Write Pin: pin 5 in 0.4 s");
  EXPECT_EQ(CommandResultText("ReadDevice", true, 1.0, model, report), "Read Device: device of pin 5 in 1.0 s");
  EXPECT_EQ(CommandResultText("VerifyAll", true, 14.5, model, report), "Verify All: no differences in 14.5 s");
  report.Result.Ok = false;
  report.Result.Compared = {"general settings", "event control", "32 pins"};
  report.Result.Differences.resize(3);
  EXPECT_EQ(CommandResultText("VerifyAll", false, 14.5, model, report), "Verify All: 3 differences in 14.5 s");
  EXPECT_EQ(CommandResultText("NoSuchCommand", true, 1.0, model, report), "");
}

TEST(ResultTextTest, FilesAndGroupsAreNamedAsTheUserKnowsThem) {
  EXPECT_EQ(SavedFileText("/home/user/layouts/demo.dat", true), "Saved demo.dat");
  EXPECT_EQ(SavedFileText("/home/user/layouts/demo.dat", false), "demo.dat not saved");
  EXPECT_EQ(LoadedFileText("demo.dat", true), "Loaded demo.dat");
  EXPECT_EQ(LoadedFileText("demo.dat", false), "demo.dat not loaded");
  EXPECT_EQ(GroupResultText(GroupTransfer::Write, "DCC settings", true), "Wrote DCC settings");
  EXPECT_EQ(GroupResultText(GroupTransfer::Read, "ID string", false), "Reading ID string failed");
  EXPECT_NE(EraseResultText(true), EraseResultText(false));
}

TEST_F(AppResultsTest, ACommandTellsHowLongItTookWithoutTheTimeTheReportStaysOpen) {
  Open();
  const double start = clock.NowSeconds();
  ASSERT_TRUE(Run("ReadAll"));
  ASSERT_EQ(observer.Results.size(), 1u);
  const std::string read = observer.Results.back();
  EXPECT_TRUE(std::regex_match(read, std::regex(R"(Read All: 32 pins in [0-9]+\.[0-9] s)"))) << read;
  EXPECT_NEAR(SecondsIn(read), clock.NowSeconds() - start, 0.051);
  EXPECT_GT(SecondsIn(read), 0.0);
  EXPECT_EQ(app.LastResult(), read);

  ASSERT_TRUE(Run("VerifyAll"));
  const std::string verified = observer.Results.back();
  EXPECT_EQ(verified.rfind("Verify All: no differences in ", 0), 0u) << verified;
  EXPECT_LT(SecondsIn(verified), 60.0) << "the minute the report was open is not the verification's";

  app.Simulator()->Controller().Memory().Pins[2].InitByte = 0x7F;
  app.Model().PinTable[2].InitAspect = 2;
  ASSERT_TRUE(Run("VerifyAllPins"));
  EXPECT_EQ(observer.Results.back().rfind("Verify All Pins: 1 difference in ", 0), 0u) << observer.Results.back();
}

// A write that did not reach the controller never reads as done in the status bar: through
// an interface unit with no controller at the module, and Write Changes whose first
// comparison could not be finished.
TEST_F(AppResultsTest, AFailedWriteNeverReadsAsDone) {
  Open();
  app.Simulator()->SetHostAttached(true);
  app.Link().CheckQuendal = true;
  app.Link().ModuleAddress = 4;
  ASSERT_TRUE(Run("WriteAll"));
  EXPECT_EQ(observer.Results.back().rfind("Write All stopped after ", 0), 0u) << observer.Results.back();
  EXPECT_EQ(prompt.Messages, std::vector<std::string>{"No valid response received\nNo answer from module 5 through the "
                                                      "Quendal interface \u2014 check Module Address and the module's "
                                                      "cable to the interface, or use Scan Line"});

  app.Simulator()->SetHostAttached(false);
  app.Link().CheckQuendal = false;
  app.Link().ModuleAddress = 0;
  app.Link().ToggleState = 128;
  app.Simulator()->Controller().Faults().FailAfterFrames = 3;
  ASSERT_TRUE(Run("WriteChanged"));
  EXPECT_EQ(observer.Results.back(), "Write Changes stopped in its first comparison: nothing was written");
}

// Nobody answers: the exchange's own message, then once per operation what to try, with
// the module as displayed, the bit rate, and the controls (or brixo-cli's options) to look at.
TEST(NoAnswerTest, SaysOnceAnOperationWhatToTry) {
  const std::string check = "Module Address, the bit rate and the cable, or use Scan Line";
  const struct {
    const char* name;
    bool commandLine;
    bool fromOne;
    int bitRateOption;
    int module;                   // internal
    std::optional<int> extended;  // internal
    bool tunnel;
    bool hostAttached;
    std::string first;
  } cases[] = {
      {"Direct", false, true, 1, 5, {}, false, false,
       "No response received, resetting bidirectional communication\nNo answer from module 6 at 19200 bit/s \u2014 check " +
           check},
      {"ZeroBased38k4", false, false, 2, 5, {}, false, false,
       "No response received, resetting bidirectional communication\nNo answer from module 5 at 38400 bit/s \u2014 check " +
           check},
      {"ExtendedAddress", false, true, 1, 3, 12, false, false,
       "No response received, resetting bidirectional communication\nNo answer from module 4, extended address 13 at "
       "19200 bit/s \u2014 check Channel Number, eXtended address, the bit rate and the cable, or use Scan Line"},
      {"CommandLine", true, true, 1, 5, {}, false, false,
       "No response received, resetting bidirectional communication\nNo answer from module 6 at 19200 bit/s \u2014 check "
       "--module, the bit rate (--baud) and the cable, or use brixo-cli scan"},
      {"Tunnelled", false, true, 1, 4, {}, true, true,
       "No valid response received\nNo answer from module 5 through the Quendal interface \u2014 check Module Address and "
       "the module's cable to the interface, or use Scan Line"},
      {"InterfaceSilent", false, true, 1, 4, {}, true, false,
       "No answer from Quendal\nNo answer from the Quendal interface at 19200 bit/s \u2014 check the bit rate and the "
       "cable to the interface"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ManualClock clock;
    RecordingPrompt prompt;
    NoFileChooser chooser;
    AppStateOptions options = SimulatedOnly(clock);
    if (c.commandLine) options.Directions = CommandLineDirections();
    AppState app(prompt, chooser, options);
    app.SetStartNumberingAtOne(c.fromOne);
    app.Ports().SelectBitRate(c.bitRateOption);
    ASSERT_TRUE(app.SelectDevice(kSimulatedPortName));
    app.Simulator()->SetHostAttached(c.hostAttached);
    app.Link().CheckQuendal = c.tunnel;
    app.Link().ModuleAddress = static_cast<uint8_t>(c.module);
    app.Link().CheckXaddress = c.extended.has_value();
    app.Link().ExtendedAddress = static_cast<uint8_t>(c.extended.value_or(0));
    // Each Read All is an operation of its own, told once.
    for (int round = 1; round <= 2; ++round) {
      ASSERT_TRUE(app.Commands().PostCommand("ReadAll"));
      app.RunPendingCommand();
      app.Link().CheckBrixoBD = true;
      ASSERT_FALSE(prompt.Messages.empty());
      EXPECT_EQ(prompt.Messages.front(), c.first);
      const auto told = std::count_if(prompt.Messages.begin(), prompt.Messages.end(),
                                      [](const std::string& m) { return m.find(" \u2014 check ") != std::string::npos; });
      EXPECT_EQ(told, round) << ::testing::PrintToString(prompt.Messages);
    }
  }
  // A port on the network: its name, and the bit rate only where this program sets it.
  NoAnswerFacts network;
  network.Module = 6;
  network.NetworkPort = "layout-pi:3333 (RFC 2217)";
  EXPECT_EQ(NoAnswerAdvice(network, {}),
            "No answer from module 6 at 19200 bit/s on layout-pi:3333 (RFC 2217) \u2014 check Module Address, the bit "
            "rate, the cable and the serial server, or use Scan Line");
  network.NetworkPort = "layout-pi:3333 (raw TCP)";
  network.RawTcp = true;
  EXPECT_EQ(NoAnswerAdvice(network, {}),
            "No answer from module 6 on layout-pi:3333 (raw TCP) \u2014 check Module Address, the serial server's bit "
            "rate, the cable and the serial server, or use Scan Line");
}

TEST_F(AppResultsTest, ReadAllRefreshesTheGeneralTabsOutputRanges) {
  Open();
  EXPECT_EQ(app.General().LabelGenDCCOutput, "Output 1 .. 32");
  ASSERT_TRUE(Run("ReadAll"));
  // demo.dat: basic decoder address 20, 29 DCC addresses; extended address 100, 19 of them.
  EXPECT_EQ(app.General().LabelGenDCCOutput, "Output 77 .. 105");
  EXPECT_EQ(app.General().LabelGenXDCCOutput, "Output 100 .. 118");
}

TEST_F(AppResultsTest, SavingAndLoadingNameTheFileAndACancelledDialogSaysNothing) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brixo_app_results";
  std::filesystem::create_directories(folder);
  const std::string saved = (folder / "layout.dat").string();
  chooser.Answers = {saved};
  EXPECT_TRUE(app.Save());
  EXPECT_EQ(observer.Results, std::vector<std::string>{"Saved layout.dat"});
  chooser.Answers = {(folder / "missing" / "other.dat").string()};
  EXPECT_FALSE(app.SaveCompact());
  EXPECT_EQ(observer.Results.back(), "other.dat not saved");
  const size_t shown = observer.Results.size();
  EXPECT_FALSE(app.SaveAs());  // cancelled
  EXPECT_FALSE(app.LoadFile());
  EXPECT_EQ(observer.Results.size(), shown);

  chooser.Answers = {saved};
  EXPECT_TRUE(app.LoadFile());
  EXPECT_EQ(observer.Results.back(), "Loaded layout.dat");
  const std::string broken = (folder / "broken.dat").string();
  std::ofstream(broken) << "not a configuration\r\n";
  chooser.Answers = {broken};
  EXPECT_FALSE(app.LoadFile());
  EXPECT_EQ(observer.Results.back(), "broken.dat not loaded");
  std::filesystem::remove_all(folder);
}

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Save writes the document's own file, in the form it was last saved in, and asks only
// while there is none; Save As and Save Compact always ask. What each dialog offers:
// the document's file, or after a Read All the name a backup of that controller gets.
TEST_F(AppResultsTest, SaveWritesTheDocumentsFileAndAsksOnlyWhenThereIsNone) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "brixo_save_document";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string full = (folder / "full.dat").string();
  const std::string compact = (folder / "compact.dat").string();

  // No document yet: Save asks, with nothing to offer.
  chooser.Answers = {full};
  ASSERT_TRUE(app.Save());
  EXPECT_EQ(chooser.Presets, std::vector<std::string>{""});
  const std::string fullText = FileText(full);

  // The document has a file: Save writes it again, without a dialog.
  app.General().TextGenIDString = "Changed";
  ASSERT_TRUE(app.Save());
  EXPECT_EQ(chooser.Presets.size(), 1u) << "no dialog";
  EXPECT_NE(FileText(full), fullText);
  EXPECT_NE(FileText(full).find("Changed"), std::string::npos);
  EXPECT_EQ(observer.Results.back(), "Saved full.dat");
  EXPECT_FALSE(app.Modified());

  // Save As offers the document's file and makes the new one the document.
  chooser.Answers = {(folder / "copy.dat").string()};
  ASSERT_TRUE(app.SaveAs());
  EXPECT_EQ(chooser.Presets.back(), full);
  EXPECT_EQ(app.DocumentPath(), (folder / "copy.dat").string());

  // A compact document is saved compact again.
  chooser.Answers = {compact};
  ASSERT_TRUE(app.SaveCompact());
  const std::string compactText = FileText(compact);
  EXPECT_LT(compactText.size(), FileText(full).size());
  app.General().TextGenIDString = "Changed again";
  ASSERT_TRUE(app.Save());
  EXPECT_EQ(chooser.Presets.size(), 3u) << "no dialog";
  EXPECT_LT(FileText(compact).size(), FileText(full).size()) << "still compact";
  EXPECT_NE(FileText(compact).find("Changed again"), std::string::npos);

  // A Read All leaves no file: Save asks, offering the backup name of that controller.
  Open();
  // Module 1 is shown as 2: the window numbers from 1 unless told otherwise.
  app.Link().ModuleAddress = 1;
  app.Simulator()->Controller().SetModuleAddress(1);
  ASSERT_TRUE(Run("ReadAll"));
  ASSERT_TRUE(app.Commands().LastSucceeded());
  EXPECT_EQ(app.DocumentPath(), "");
  EXPECT_FALSE(app.Save());  // cancelled
  EXPECT_EQ(chooser.Presets.back(), "module-02-Demo_Layout.dat");
  EXPECT_EQ(FileText(compact).find("Changed again") != std::string::npos, true) << "a cancelled dialog writes nothing";
  std::filesystem::remove_all(folder);
}

TEST_F(AppResultsTest, TheReportIsSavedAsItReads) {
  Open();
  ASSERT_TRUE(Run("VerifyAllPins"));
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "brixo_report_test.txt";
  chooser.Answers = {file.string()};
  ASSERT_TRUE(app.SaveReport());
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, app.Report().Text);
  EXPECT_EQ(chooser.Filters.back(), "Verification Report|*.txt");
  EXPECT_EQ(observer.Results.back(), "Saved brixo_report_test.txt");
  std::filesystem::remove(file);
}

TEST_F(AppResultsTest, ADeviceNamedOnTheCommandLineIsSelectedAndOpened) {
  EXPECT_FALSE(app.Ports().PortOpen());
  EXPECT_FALSE(app.SelectDevice("/dev/no-such-device"));
  EXPECT_FALSE(app.Ports().PortOpen());
  EXPECT_TRUE(app.SelectDevice(kSimulatedPortName));
  EXPECT_TRUE(app.Ports().PortOpen());
  EXPECT_EQ(app.Ports().ComboPortText, std::string("1 ") + kSimulatedPortName);
  EXPECT_TRUE(prompt.Messages.empty());
}

}  // namespace
}  // namespace brixo::testing
