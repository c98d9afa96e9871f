// The core's one text encoding and its edges: file bytes (Latin-1) in and out, a text cut
// by characters, never inside one.
#include <gtest/gtest.h>

#include "link/text_encoding.h"

namespace brixo::test {
namespace {

TEST(TextEncodingTest, FileBytesBecomeTextAndBackUnchanged) {
  std::string every;
  for (int b = 0; b < 256; ++b) every += static_cast<char>(b);
  const std::string text = Utf8FromLatin1(every);
  EXPECT_EQ(CodePoints(text).size(), 256u);
  EXPECT_EQ(Latin1FromUtf8(text), every);
  EXPECT_EQ(Utf8FromLatin1("S\xFC" "d"), "S\xC3\xBC" "d");
}

TEST(TextEncodingTest, TextsBecomeOneBytePerCharacter) {
  const struct {
    std::string typed;
    std::string kept;
    bool replaced;
  } cases[] = {
      {"Plain", "Plain", false},
      {"Gare \xC3\xA9t\xC3\xA9", "Gare \xE9t\xE9", false},  // é in Latin-1
      {"\xE2\x82\xAC 5", "? 5", true},                      // the euro sign has no Latin-1 form
      {"\xF0\x9F\x9A\x82", "?", true},
      {"raw \xE9", "raw \xE9", false},  // already Latin-1: not UTF-8, kept as it is
      {"cut \xC3", "cut \xC3", false},
      {"\xC0\xAF", "\xC0\xAF", false},  // an over-long form is no character
  };
  for (const auto& c : cases) {
    bool replaced = false;
    EXPECT_EQ(Latin1FromUtf8(c.typed, &replaced), c.kept) << c.typed;
    EXPECT_EQ(replaced, c.replaced) << c.typed;
  }
}

TEST(TextEncodingTest, TextsAreCutBetweenCharacters) {
  const std::string text = "\xC3\x9C" "ber \xE2\x80\x94 Br\xC3\xBC" "cke";  // "Über — Brücke"
  EXPECT_EQ(FirstCharacters(text, 1), "\xC3\x9C");
  EXPECT_EQ(FirstCharacters(text, 6), "\xC3\x9C" "ber \xE2\x80\x94");
  EXPECT_EQ(FirstCharacters(text, 99), text);
  EXPECT_EQ(LastCharacters(text, 4), "\xC3\xBC" "cke");
  EXPECT_EQ(LastCharacters(text, 99), text);
  EXPECT_EQ(FirstCharacters("", 3), "");
}

}  // namespace
}  // namespace brixo::test
