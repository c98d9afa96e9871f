#pragma once
// Command-line options of the stand-alone simulator program.
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_faults.h"

namespace brixo {

// One controller on the simulated line.
struct SimLineController {
  int Module = 0;                // module address 0..31
  std::optional<int> Extended;   // its module extended address 0..95
  std::string LoadPath;          // a data file it starts with; empty: factory memory
  SimFaults Faults;              // the misbehaviours it shows, from its start-up on
};

struct SimOptions {
  int Baud = 19200;          // 9600, 19200 or 38400
  bool Pace = false;         // deliver bytes at the line's bit rate
  int LatencyTimerMs = 0;    // a USB adapter's latency timer holds replies back; 0: none
  std::string ByteCountPath; // where to write the bytes received and sent when it ends
  int Module = 0;            // controller module address
  bool Host = false;         // an interface unit sits in front of the controller
  int Protocol = 3200;       // host protocol version
  int UnitType = 2;          // interface unit type
  int UnitVersion = 1020;    // interface unit firmware version
  bool Quiet = false;        // no frame log on standard error
  bool IgnoreStdin = false;  // keep serving after standard input ends
  bool Help = false;         // print the help text and end
  bool Version = false;      // print the program's version and end
  // Misbehaviours to rehearse against the real program; every controller of the line shows
  // them unless --faulty names some.
  SimFaults Faults;
  // --modules and --load: several controllers on the line. Empty: one, at Module.
  std::vector<SimLineController> Controllers;
  // --faulty: the controllers that show Faults. Empty: all of them.
  std::vector<SimLineController> Faulty;
  // --load values, given to their controllers once every option is read.
  std::vector<std::string> Loads;
};

// "1,5:12,9": module addresses, each optionally with ":" and its extended address.
bool ParseControllerList(const std::string& text, std::vector<SimLineController>& out, std::string& error);
// The controllers the options put on the line: those of --modules, or the one of --module,
// each with the faults it shows.
std::vector<SimLineController> LineControllers(const SimOptions& options);

// Fills options from the arguments (program name excluded); false with a message in
// error on an unknown option or a bad value.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The synopsis line; SimHelp() adds every option with its meaning.
std::string SimUsage();
std::string SimHelp();

}  // namespace brixo
