#include "link/line_timing.h"

#include <sstream>
#include <vector>

namespace brixo {

namespace {

std::vector<std::string> Fields(const std::string& settings) {
  std::vector<std::string> fields;
  std::stringstream stream(settings);
  for (std::string field; std::getline(stream, field, ',');) fields.push_back(field);
  return fields;
}

int Number(const std::string& text) {
  if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(text);
}

}  // namespace

int BitRate(const std::string& settings) {
  const std::vector<std::string> fields = Fields(settings);
  return fields.size() == 4 ? Number(fields[0]) : 0;
}

int BitsPerByte(const std::string& settings) {
  const std::vector<std::string> fields = Fields(settings);
  if (fields.size() != 4 || BitRate(settings) <= 0) return 0;
  const int data = Number(fields[2]);
  if (data < 5 || data > 8) return 0;
  int parity = 0;
  if (fields[1] == "o" || fields[1] == "e" || fields[1] == "m" || fields[1] == "s") parity = 1;
  else if (fields[1] != "n") return 0;
  int stop = 0;
  if (fields[3] == "1") stop = 1;
  else if (fields[3] == "1.5" || fields[3] == "2") stop = 2;  // 1.5 rounds up: never too short
  else return 0;
  return 1 + data + parity + stop;
}

double ByteSeconds(const std::string& settings) {
  const int bits = BitsPerByte(settings);
  return bits > 0 ? static_cast<double>(bits) / BitRate(settings) : 0.0;
}

}  // namespace brixo
