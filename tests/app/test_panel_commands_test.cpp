#include "app/test_panel_commands.h"

#include <gtest/gtest.h>

namespace brixo {
namespace {

TEST(CommitLegacyFieldTest, KeepsTheFieldWithinAByte) {
  struct Case {
    const char* typed;
    const char* committed;
  };
  const Case cases[] = {{"127", "127"}, {"128", "127"}, {"100000", "127"}, {"-1", "0"},
                        {"12.5", "13"},  {" 42", "42"},  {"", "0"},          {"abc", "0"}};
  for (const Case& c : cases) EXPECT_EQ(CommitLegacyField(c.typed), c.committed) << c.typed;
}

}  // namespace
}  // namespace brixo
