#include <gtest/gtest.h>

#include "ui/qt_file_chooser.h"

namespace brixo {
namespace {

TEST(QtFileFilterTest, NamePatternPairsBecomeQtFilters) {
  struct Case {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"Brixo Config Data|*.dat", "Brixo Config Data (*.dat)"},
      {"Brixo Device Definitions|*.def", "Brixo Device Definitions (*.def)"},
      {"Data|*.dat|All files|*.*", "Data (*.dat);;All files (*.*)"},
      {"Text|*.txt;*.log", "Text (*.txt *.log)"},
      {"*.dat", "*.dat"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilter(c.filter).toStdString(), c.qt) << c.filter;
}

}  // namespace
}  // namespace brixo
