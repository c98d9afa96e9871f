#include "link/user_directions.h"

#include <vector>

namespace brixo {

namespace {

// "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

}  // namespace

UserDirections CommandLineDirections() {
  UserDirections words;
  words.ModuleAddress = "--module";
  words.ChannelNumber = "--module";
  words.ExtendedAddress = "--xaddr";
  words.BitRate = "the bit rate (--baud)";
  words.ScanLine = "brixo-cli scan";
  words.ListPorts = "brixo-cli ports lists them";
  return words;
}

std::string NoAnswerAdvice(const NoAnswerFacts& facts, const UserDirections& words) {
  const bool network = !facts.NetworkPort.empty();
  // Where the line was: its bit rate matters only where this program sets it.
  std::string where;
  if (!(network && facts.RawTcp)) where += " at " + std::to_string(facts.BitRate) + " bit/s";
  if (network) where += " on " + facts.NetworkPort;
  const std::string bitRate = network && facts.RawTcp ? "the serial server's bit rate" : words.BitRate;

  std::vector<std::string> check;
  if (facts.Party == SilentParty::Interface) {
    check = {bitRate, network ? "the serial server and its cable to the interface" : "the cable to the interface"};
    return "No answer from the Quendal interface" + where + " \u2014 check " + Listed(check);
  }
  std::string who = "module " + std::to_string(facts.Module);
  if (facts.Extended) who += ", extended address " + std::to_string(*facts.Extended);
  check.push_back(facts.Extended ? words.ChannelNumber : words.ModuleAddress);
  if (facts.Extended) check.push_back(words.ExtendedAddress);
  if (facts.Tunnelled) {
    // The interface answered: the line to it is sound, the module's own link is not.
    where = " through the Quendal interface";
    check.push_back("the module's cable to the interface");
  } else {
    check.push_back(bitRate);
    check.push_back("the cable");
    if (network) check.push_back("the serial server");
  }
  return "No answer from " + who + where + " \u2014 check " + Listed(check) + ", or use " + words.ScanLine;
}

std::string NoSuchPortText(int number, int portsListed, const UserDirections& words) {
  std::string ports;
  if (portsListed <= 0) ports = "no port was found";
  else if (portsListed == 1) ports = "there is only port 1";
  else ports = "there are ports 1 to " + std::to_string(portsListed);
  return "There is no port " + std::to_string(number) + ": " + ports + " (" + words.ListPorts + ")";
}

}  // namespace brixo
