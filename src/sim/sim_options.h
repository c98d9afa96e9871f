#pragma once
// Command-line options of the stand-alone simulator program.
#include <string>
#include <vector>

#include "sim/sim_faults.h"

namespace brixo {

struct SimOptions {
  int Baud = 19200;          // 9600, 19200 or 38400
  bool Pace = false;         // deliver bytes at the line's bit rate
  int Module = 0;            // controller module address
  bool Host = false;         // an interface unit sits in front of the controller
  int Protocol = 3200;       // host protocol version
  int UnitType = 2;          // interface unit type
  int UnitVersion = 1020;    // interface unit firmware version
  bool Quiet = false;        // no frame log on standard error
  bool IgnoreStdin = false;  // keep serving after standard input ends
  bool Help = false;         // print the help text and end
  SimFaults Faults;          // misbehaviours to rehearse against the real program
};

// Fills options from the arguments (program name excluded); false with a message in
// error on an unknown option or a bad value.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The synopsis line; SimHelp() adds every option with its meaning.
std::string SimUsage();
std::string SimHelp();

}  // namespace brixo
