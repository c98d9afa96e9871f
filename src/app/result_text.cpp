#include "app/result_text.h"

#include <array>
#include <filesystem>

#include "link/numeric_text.h"

namespace brixo {

namespace {

// What a command covers, for the words after its caption.
enum class Scope { AllPins, CurrentPin, DeviceOfPin, Verification, Changes };

struct CommandWords {
  const char* Name;
  const char* Caption;
  Scope What;
  int VerifiedParts;  // verifications: how many parts they compare
};

constexpr std::array<CommandWords, 18> kCommands{{
    {"ReadAll", "Read All", Scope::AllPins, 0},
    {"WriteAll", "Write All", Scope::AllPins, 0},
    {"VerifyAll", "Verify All", Scope::Verification, 3},
    {"ReadPin", "Read Pin", Scope::CurrentPin, 0},
    {"WritePin", "Write Pin", Scope::CurrentPin, 0},
    {"ReadDevice", "Read Device", Scope::DeviceOfPin, 0},
    {"WriteDevice", "Write Device", Scope::DeviceOfPin, 0},
    {"ReadAllPins", "Read All Devices", Scope::AllPins, 0},
    {"WriteAllPins", "Write All Devices", Scope::AllPins, 0},
    {"PAspReadPin", "Read Asp's", Scope::CurrentPin, 0},
    {"PAspWritePin", "Write Asp's", Scope::CurrentPin, 0},
    {"VerifyAllPins", "Verify All Pins", Scope::Verification, 1},
    {"ECWriteAll", "Write All Events", Scope::AllPins, 0},
    {"ECReadAll", "Read All Events", Scope::AllPins, 0},
    {"ECVerify", "Verify Event Control", Scope::Verification, 1},
    {"Compare", "Compare", Scope::Verification, 3},
    {"WriteChanged", "Write Changes", Scope::Changes, 3},
    // Ends in a comparison that lists what was left unticked.
    {"WriteChecked", "Write Checked", Scope::Verification, 3},
}};

const CommandWords* Find(const std::string& command) {
  for (const CommandWords& words : kCommands) {
    if (command == words.Name) return &words;
  }
  return nullptr;
}

std::string Seconds(double seconds) { return FixedText(seconds < 0 ? 0.0 : seconds, 1) + " s"; }

std::string Count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

std::string CommandCaption(const std::string& command) {
  const CommandWords* words = Find(command);
  return words ? words->Caption : command;
}

std::string CommandResultText(const std::string& command, bool ok, double seconds, const ConfigModel& model,
                              const VerificationReport& report) {
  const CommandWords* words = Find(command);
  if (words == nullptr) return {};
  const std::string caption = words->Caption;
  const std::string pin = "pin " + std::to_string(std::min<int>(model.CurrentPin, kPinCount - 1) + model.NumberingOffset);
  if (words->What == Scope::Verification) {
    if (ok) return caption + ": no differences in " + Seconds(seconds);
    if (VerificationVerdict(report.Result, words->VerifiedParts) == "Differences Found")
      return caption + ": " + Count(static_cast<int>(report.Result.Differences.size()), "difference", "differences") +
             " in " + Seconds(seconds);
    return caption + " stopped after " + Seconds(seconds);
  }
  if (!ok) return caption + " stopped after " + Seconds(seconds);
  switch (words->What) {
    case Scope::AllPins: return caption + ": " + std::to_string(kPinCount) + " pins in " + Seconds(seconds);
    case Scope::CurrentPin: return caption + ": " + pin + " in " + Seconds(seconds);
    case Scope::DeviceOfPin: return caption + ": device of " + pin + " in " + Seconds(seconds);
    case Scope::Changes: return caption + ": written and verified in " + Seconds(seconds);
    case Scope::Verification: break;
  }
  return {};
}

std::string GroupResultText(GroupTransfer transfer, const std::string& group, bool ok) {
  if (transfer == GroupTransfer::Read) return ok ? "Read " + group : "Reading " + group + " failed";
  return ok ? "Wrote " + group : "Writing " + group + " failed";
}

std::string EraseResultText(bool ok) {
  return ok ? "Erase Flash sent: the controller erases its configuration" : "Flash not erased";
}

std::string SavedFileText(const std::string& path, bool ok) {
  return ok ? "Saved " + FileName(path) : FileName(path) + " not saved";
}

std::string LoadedFileText(const std::string& path, bool ok) {
  return ok ? "Loaded " + FileName(path) : FileName(path) + " not loaded";
}

namespace {

std::string DocumentName(const std::string& path) { return path.empty() ? "Untitled" : FileName(path); }

}  // namespace

std::string WindowTitle(const std::string& path, bool modified) {
  constexpr const char* kProgram = "Brixo Config";
  if (path.empty() && !modified) return kProgram;
  return DocumentName(path) + (modified ? "*" : "") + " \u2014 " + kProgram;
}

std::string SaveChangesQuestion(const std::string& path) { return "Save changes to " + DocumentName(path) + "?"; }
std::string PortGoneText(const std::string& device) { return "Port closed: " + device + " went away"; }

}  // namespace brixo
