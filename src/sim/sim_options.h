#pragma once
// Command-line options of the stand-alone simulator program.
#include <string>
#include <vector>

namespace brixo {

struct SimOptions {
  int Baud = 19200;          // 9600, 19200 or 38400
  bool Pace = false;         // deliver bytes at the line's bit rate
  int Module = 0;            // controller module address
  bool Host = false;         // an interface unit sits in front of the controller
  int Protocol = 3200;       // host protocol version
  int UnitType = 2;          // interface unit type
  int UnitVersion = 1020;    // interface unit firmware version
  bool NoEvents = false;     // controller without event inputs
  bool Quiet = false;        // no frame log on standard error
  bool IgnoreStdin = false;  // keep serving after standard input ends
};

// Fills options from the arguments (program name excluded); false with a message in
// error on an unknown option or a bad value.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

std::string SimUsage();

}  // namespace brixo
