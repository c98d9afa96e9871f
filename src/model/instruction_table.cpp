#include "model/instruction_table.h"

namespace brixo {

namespace {

struct Row {
  int opcode;
  int group;
  const char* name;
  bool fade;
  const char* par0;  // nullptr: not used
  const char* par1;
  int par1Min;
  int par1Max;
  int bias;
  const char* par2;
  const char* par3;
  int helpTool;
};

// Single rows of the instruction set; the numbered families are added in code below.
constexpr Row kRows[] = {
    {0, 0, "-", false, nullptr, nullptr, 0, 0, 0, nullptr, nullptr, 0},
    {1, 3, "Jump", false, "P.O.", "Asp#", 0, 11, 0, "Ins#", nullptr, 0},
    {3, 4, "NS G->Y->R", true, "P.O.", "Type", 0, 1, 0, nullptr, nullptr, 0},
    {4, 5, "SendSerial 1", false, nullptr, "Byte", 0, 255, 0, nullptr, nullptr, 0},
    {5, 5, "SendSerial 2", false, nullptr, "Byte1", 0, 255, 0, "Byte2", nullptr, 0},
    {6, 0, "Blink alt", true, "P.O.", "T(/60)", 0, 127, 0, nullptr, nullptr, 0},
    {7, 4, "Clone", true, "P.O.", "Source", 0, 31, 0, nullptr, nullptr, 0},
    {8, 0, "Off", true, "P.O.", "T(/60)", 0, 127, 0, nullptr, nullptr, 0},
    {9, 0, "On", true, "P.O.", "T(/60)", 0, 127, 0, nullptr, nullptr, 0},
    {10, 0, "Invert", true, "P.O.", "T(/60)", 0, 127, 0, nullptr, nullptr, 0},
    {11, 0, "Random", true, "P.O.", "T(/60)", 0, 127, 0, nullptr, nullptr, 0},
    {16, 3, "Event Input", false, nullptr, "ETImap", 0, 127, 0, nullptr, nullptr, kHelpToolEventMap},
    {17, 5, "Feedback", false, "P.O.", "Aspect", 0, 11, 0, nullptr, nullptr, 0},
    {18, 5, "MXpulse", false, "MXpin", "T(/60)", 0, 127, 0, "Level", nullptr, 0},
    {32, 0, "Multibit 6", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 6},
    {33, 0, "Multibit 7", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 7},
    {34, 0, "Multibit 6 AD", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 6},
    {35, 0, "Multibit 7 AD", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 7},
    {36, 0, "Multibit 6 ND", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 6},
    {37, 0, "Multibit 7 ND", true, "P.O.", "Patt.", 0, 127, 0, nullptr, nullptr, 7},
    {38, 1, "Set Level", true, "P.O.", "Level", 0, 31, 0, nullptr, nullptr, 0},
    {39, 2, "Set Servo", true, "P.O.", "Pos.", 0, 127, -64, nullptr, nullptr, 0},
    {96, 1, "SetLevel & Wait", false, "Accel", "Level", 0, 31, 0, "Time", "Base", kHelpToolTime},
    {97, 1, "SetLevel & WtRnd", false, "Accel", "Level", 0, 31, 0, "Time", "Base", kHelpToolTime},
    {98, 1, "SetRnd & Wait", false, "Accel", "Chance", 0, 31, 0, "Time", "Base", kHelpToolTime},
    {99, 1, "SetRnd & WtRnd", false, "Accel", "Chance", 0, 31, 0, "Time", "Base", kHelpToolTime},
    {100, 2, "SetServo & Wait", false, nullptr, "Pos", 0, 127, -64, "Time", "Base", kHelpToolTime},
    {101, 2, "SetServo & WtRnd", false, nullptr, "Pos", 0, 127, -64, "Time", "Base", kHelpToolTime},
    {102, 3, "Wait", false, nullptr, nullptr, 0, 0, 0, "Time", "Base", kHelpToolTime},
    {103, 3, "Wait Random", false, nullptr, nullptr, 0, 0, 0, "Time", "Base", kHelpToolTime},
    // The controller's meaning of a negative comparison value is unknown and the stored
    // byte is unsigned, so the editor keeps these to 0..63.
    {104, 5, "If Equal", false, "P.O.", "Value", 0, 63, 0, nullptr, nullptr, 0},
    {105, 5, "If Less", false, "P.O.", "Value", 0, 63, 0, nullptr, nullptr, 0},
    {106, 5, "If Not Equal", false, "P.O.", "Value", 0, 63, 0, nullptr, nullptr, 0},
    {107, 5, "If Not Less", false, "P.O.", "Value", 0, 63, 0, nullptr, nullptr, 0},
    {127, 2, "Suspend Servo", false, "P.O.", nullptr, 0, 0, 0, "Time", "Base", kHelpToolTime},
};

InstructionInfo InfoFrom(const Row& row) {
  InstructionInfo info;
  info.Group = static_cast<int16_t>(row.group);
  info.Name = row.name;
  info.FadeAllowed = row.fade;
  info.Par0Used = row.par0 != nullptr;
  info.Par1Used = row.par1 != nullptr;
  info.Par2Used = row.par2 != nullptr;
  info.Par3Used = row.par3 != nullptr;
  info.Par0Label = row.par0 ? row.par0 : "";
  info.Par1Label = row.par1 ? row.par1 : "";
  info.Par2Label = row.par2 ? row.par2 : "";
  info.Par3Label = row.par3 ? row.par3 : "";
  info.Par1Min = static_cast<int16_t>(row.par1Min);
  info.Par1Max = static_cast<int16_t>(row.par1Max);
  info.HelpTool = static_cast<int16_t>(row.helpTool);
  info.Par1DisplayBias = static_cast<int16_t>(row.bias);
  return info;
}

// A step on one output with a time in 1/60 s or a pattern: the shape shared by the
// Multibit and Multiblink families.
InstructionInfo OutputStep(const std::string& name, const char* par1Label, int helpTool) {
  return InfoFrom({0, 0, name.c_str(), true, "P.O.", par1Label, 0, 127, 0, nullptr, nullptr, helpTool});
}

}  // namespace

const InstructionInfo& InstructionTable::Info(int opcode) const {
  static const InstructionInfo kNoEntry;
  if (opcode < 0 || opcode >= kOpcodeCount) return kNoEntry;
  return infos_[opcode];
}

int InstructionTable::ChooserIndexOf(int opcode) const {
  for (size_t i = 0; i < chooser_.size(); ++i) {
    if (chooser_[i].Opcode == opcode) return static_cast<int>(i);
  }
  return 0;
}

InstructionTable FillInstructionTable() {
  InstructionTable table;
  for (const Row& row : kRows) table.infos_[row.opcode] = InfoFrom(row);
  for (int n = 2; n <= 5; ++n) {
    table.infos_[10 + n] = OutputStep("Multibit " + std::to_string(n), "Patt.", n);
  }
  for (int n = 2; n <= 7; ++n) {
    table.infos_[40 + n] = OutputStep("Multiblink " + std::to_string(n), "T(/60)", 0);
  }
  for (int a = 0; a <= 11; ++a) {
    InstructionInfo& info = table.infos_[112 + a];
    info = InfoFrom({0, 3, "", false, "P.O.", nullptr, 0, 0, 0, "Time", "Base", kHelpToolTime});
    info.Name = "SetAspect " + std::to_string(a);
  }
  for (int group = 0; group <= 5; ++group) {
    for (int opcode = 0; opcode < kOpcodeCount; ++opcode) {
      const InstructionInfo& info = table.infos_[opcode];
      if (!info.Name.empty() && info.Group == group) {
        table.chooser_.push_back({info.Name, static_cast<uint8_t>(opcode)});
      }
    }
  }
  return table;
}

const InstructionTable& StandardInstructionTable() {
  static const InstructionTable table = FillInstructionTable();
  return table;
}

Par0Kind Par0KindOf(int opcode) {
  if (opcode == 18) return Par0Kind::AbsolutePin;
  if (opcode >= 96 && opcode <= 99) return Par0Kind::Accel;
  return Par0Kind::PinOffset;
}

bool HasDuration(const InstructionInfo& info) { return info.HelpTool == kHelpToolTime; }

bool WaitsRandomly(int opcode) { return opcode == 97 || opcode == 99 || opcode == 101 || opcode == 103; }

int Par2MaxOf(int opcode) {
  switch (opcode) {
    case 1: return 8;
    case 18: return 31;
    case 4:
    case 5: return 255;
    default: return 63;
  }
}

}  // namespace brixo
