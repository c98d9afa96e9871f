#pragma once
// The instruction set as the tool knows it: per opcode the chooser name, which parameters
// the step uses, their captions, the range of Par1 and the help tool offered.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace brixo {

constexpr int kOpcodeCount = 128;

// HelpTool values: 2..7 pattern calculator with that many outputs, these two, or none (0).
constexpr int kHelpToolTime = 9;
constexpr int kHelpToolEventMap = 16;

struct InstructionInfo {
  int16_t Group = 0;
  std::string Name;  // empty: the opcode has no entry and is not offered
  bool FadeAllowed = false;
  bool Par0Used = false;
  bool Par1Used = false;
  bool Par2Used = false;
  bool Par3Used = false;
  std::string Par0Label;
  std::string Par1Label;
  std::string Par2Label;
  std::string Par3Label;
  int16_t Par1Min = 0;
  int16_t Par1Max = 0;
  int16_t HelpTool = 0;
  int16_t Par1DisplayBias = 0;
};

// One item of an instruction chooser: the text shown and the opcode it stands for.
struct ChooserEntry {
  std::string Name;
  uint8_t Opcode = 0;
};

class InstructionTable {
 public:
  // The entry of an opcode; an empty entry for opcodes without one, including 128 and above.
  const InstructionInfo& Info(int opcode) const;
  bool HasEntry(int opcode) const { return !Info(opcode).Name.empty(); }

  // Ordered by group 0..5, then by opcode; starts with "-".
  const std::vector<ChooserEntry>& ChooserList() const { return chooser_; }
  // The chooser index of an opcode; 0 (the "-" item) when it is not offered.
  int ChooserIndexOf(int opcode) const;

 private:
  friend InstructionTable FillInstructionTable();
  std::array<InstructionInfo, kOpcodeCount> infos_{};
  std::vector<ChooserEntry> chooser_;
};

InstructionTable FillInstructionTable();
// The one table of the program, filled on first use and never changed afterwards.
const InstructionTable& StandardInstructionTable();

// How Par0 of an opcode is shown and typed.
enum class Par0Kind {
  PinOffset,    // "P.O.": signed distance to the pin the step acts on
  Accel,        // opcodes 96..99: -1..31, -1 stored as 127
  AbsolutePin,  // opcode 18 "MXpin": a pin number shown with the numbering offset
};
Par0Kind Par0KindOf(int opcode);

// Steps whose Par2 and Par3 are a "Time" and its "Base": the step lasts that long.
bool HasDuration(const InstructionInfo& info);
// Of those, the ones that wait at random ("Wait Random" and the "WtRnd" steps): how long
// they take is the controller's choice; the tool knows only the Time they are given.
bool WaitsRandomly(int opcode);

// Upper bound of a typed Par2 (the lower bound is always 0).
int Par2MaxOf(int opcode);

}  // namespace brixo
