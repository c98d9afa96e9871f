#pragma once
// What a message tells the user to try when a controller or a port cannot be reached, in
// the words of the program he uses: the window names its controls and menus, brixo-cli its
// options and commands.
#include <optional>
#include <string>

#include "link/brixo_link.h"

namespace brixo {

struct UserDirections {
  std::string ModuleAddress = "Module Address";
  std::string ChannelNumber = "Channel Number";     // the module address while extended addressing is on
  std::string ExtendedAddress = "eXtended address";
  std::string BitRate = "the bit rate";
  std::string ScanLine = "Scan Line";
  std::string ListPorts = "Refresh lists them again";
};

// brixo-cli's words.
UserDirections CommandLineDirections();

// Who was silent, and where the exchange looked for him.
struct NoAnswerFacts {
  SilentParty Party = SilentParty::Controller;
  int Module = 0;               // as displayed
  std::optional<int> Extended;  // as displayed, while extended addressing is on
  bool Tunnelled = false;
  int BitRate = 19200;
  std::string NetworkPort;  // as displayed ("layout-pi:3333 (raw TCP)"); empty for a local port
  bool RawTcp = false;      // the serial server there fixes the bit rate itself
};

// "No answer from module 6 at 19200 bit/s — check Module Address, the bit rate and the
// cable, or use Scan Line", and its forms for an extended address, a tunnel, a port on the
// network and a silent interface unit.
std::string NoAnswerAdvice(const NoAnswerFacts& facts, const UserDirections& words);

// The second line of "Cannot open communications port 5" when the list has no port 5:
// "There is no port 5: there is only port 1 (brixo-cli ports lists them)".
std::string NoSuchPortText(int number, int portsListed, const UserDirections& words);

}  // namespace brixo
