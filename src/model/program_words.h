#pragma once
// An aspect's program in words, one line per used step, told only with what the editor
// shows: the instruction's name and parameter captions, numbers as the boxes show them,
// target pins as numbered in the editor with their descriptions, and durations by the
// duration rule: "0: pin 2 "Signal red" — Off, fade, T(/60) 0", "2: Wait 00:00.30",
// "5: Jump to aspect 1, step 0". Texts are UTF-8.
#include <string>
#include <vector>

#include "model/instruction_table.h"
#include "model/pin_model.h"

namespace brixo {

struct ProgramLine {
  int Step = 0;
  int TargetPin = -1;  // internal number of the pin the step acts on; -1 for none
  std::string Text;
};

// The pin (internal number) a step of pin `pin` is told to act on: the one its "P.O." or
// "MXpin" names, except for a jump within the pin's own program. -1 for none.
int StepActsOn(const InstructionTable& table, const StepRecord& step, int pin);

// "pin 2 "Signal red"", or "pin 2" for a pin without a description.
std::string PinInWords(const ConfigModel& model, int pin);

// The step of pin `pin` in words, without its step number.
std::string StepInWords(const ConfigModel& model, int pin, const StepRecord& step,
                        const InstructionTable& table = StandardInstructionTable());

// The used steps of the rows the pin's layout shows; none for an aspect beyond the layout.
std::vector<ProgramLine> AspectInWords(const ConfigModel& model, int pin, int aspect,
                                       const InstructionTable& table = StandardInstructionTable());

// One line per step, each ending in "\n"; "No steps" when there are none.
std::string ProgramText(const std::vector<ProgramLine>& lines);

}  // namespace brixo
