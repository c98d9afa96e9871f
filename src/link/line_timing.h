#pragma once
// How long bytes take on the serial line, from its settings text.
#include <string>

namespace brixo {

// Bits one byte occupies on the line: start bit, data bits, parity bit (if any), stop
// bits. "19200,o,8,1" gives 11. A text of another shape gives 0.
int BitsPerByte(const std::string& settings);
// The bit rate of "19200,o,8,1"; 0 for a text of another shape.
int BitRate(const std::string& settings);
// Seconds one byte occupies on the line; 0 when the settings cannot be read.
double ByteSeconds(const std::string& settings);

}  // namespace brixo
