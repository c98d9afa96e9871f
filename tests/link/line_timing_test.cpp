// The wire time of a byte follows from every field of the line settings.
#include <gtest/gtest.h>

#include "link/line_timing.h"

namespace brixo::test {
namespace {

TEST(LineTiming, BitsAndSecondsOfEachSettingsText) {
  struct Case {
    const char* Settings;
    int Bits;
    double Seconds;
  };
  const Case cases[] = {
      {"9600,o,8,1", 11, 11.0 / 9600},   {"19200,o,8,1", 11, 11.0 / 19200}, {"38400,o,8,1", 11, 11.0 / 38400},
      {"19200,n,8,1", 10, 10.0 / 19200}, {"19200,e,7,1", 10, 10.0 / 19200}, {"19200,n,8,2", 11, 11.0 / 19200},
      {"19200,n,5,1.5", 8, 8.0 / 19200},
      // Texts of another shape give nothing rather than a guess.
      {"", 0, 0}, {"19200,o,8", 0, 0}, {"fast,o,8,1", 0, 0}, {"0,o,8,1", 0, 0}, {"19200,x,8,1", 0, 0},
      {"19200,o,9,1", 0, 0}, {"19200,o,8,3", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Settings);
    EXPECT_EQ(BitsPerByte(c.Settings), c.Bits);
    EXPECT_DOUBLE_EQ(ByteSeconds(c.Settings), c.Seconds);
  }
}

}  // namespace
}  // namespace brixo::test
