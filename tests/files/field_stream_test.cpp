#include <gtest/gtest.h>

#include "files/field_reader.h"
#include "files/record_writer.h"
#include "link/numeric_text.h"
#include "support/comma_locale.h"

namespace brixo {
namespace {

std::vector<std::string> FieldsOf(const std::string& text, bool* broken = nullptr) {
  FieldReader reader(text);
  std::vector<std::string> fields;
  Field field;
  while (reader.Next(field)) fields.push_back((field.Quoted ? "q:" : "") + field.Text);
  if (broken) *broken = reader.Broken();
  return fields;
}

TEST(FieldReaderTest, ReadsFieldsNotLines) {
  using V = std::vector<std::string>;
  const struct {
    std::string text;
    V fields;
  } cases[] = {
      {"Pin,3,0\r\n  Dev,-1,\"a, b\"\r\nEnd\r\n", V{"Pin", "3", "0", "Dev", "-1", "q:a, b", "End"}},
      {"  Ins ,  4,5\nEnd", V{"Ins", "4", "5", "End"}},            // blanks around, LF alone
      {"\"x\"  ,\"y\"\r\"z\"", V{"q:x", "q:y", "q:z"}},             // blanks after a quote, CR alone
      {"a,,b,\r\nc", V{"a", "", "b", "", "c"}},                      // empty fields
      {"\"\",\"it's\"\r\n", V{"q:", "q:it's"}},
      {"\"end of text\"", V{"q:end of text"}},
      {"", V{}},
  };
  for (const auto& c : cases) {
    bool broken = true;
    EXPECT_EQ(FieldsOf(c.text, &broken), c.fields) << c.text;
    EXPECT_FALSE(broken);
  }
}

TEST(FieldReaderTest, ABrokenQuoteEndsTheFieldsThere) {
  using V = std::vector<std::string>;
  // The fields read before the break; nothing after it is taken for a field.
  const struct {
    std::string text;
    V fields;
  } cases[] = {
      {"a,\"never closed\r\nEnd\r\n", V{"a"}},
      {"a,\"never closed", V{"a"}},
      {"\"multi\r\nline\",x", V{}},                        // a text does not span lines
      {"\"multi\rline\",x", V{}},
      {"Asp,0,\"Red\r\n    Ins,0,9,0,0,0,0\r\nAsp,1,\"Green\"\r\n", V{"Asp", "0"}},  // a lost closing quote
      {"\"ab\"cd,e", V{}},                                   // more behind the closing quote
      {"Pin,0,3,1,\"A r\"ed\"\r\nEnd\r\n", V{"Pin", "0", "3", "1"}},  // a quote inside a text
      {"\"x\" \"y\"", V{}},
      {"Pin,0,3,1,A r\"ed\r\n", V{"Pin", "0", "3", "1"}},     // a quote inside an unquoted field
      {"ab\",c", V{}},
  };
  for (const auto& c : cases) {
    bool broken = false;
    EXPECT_EQ(FieldsOf(c.text, &broken), c.fields) << c.text;
    EXPECT_TRUE(broken) << c.text;
  }
}

TEST(FieldReaderTest, TypedReadsCheckWidths) {
  FieldReader reader("255,256,-32768,32768,x,\"7\",Pin,\"Pin\"");
  int value = 0;
  EXPECT_TRUE(reader.ReadByte(value));
  EXPECT_EQ(value, 255);
  EXPECT_FALSE(reader.ReadByte(value));
  EXPECT_TRUE(reader.ReadInt16(value));
  EXPECT_EQ(value, -32768);
  EXPECT_FALSE(reader.ReadInt16(value));
  EXPECT_FALSE(reader.NextIsNumber());
  EXPECT_FALSE(reader.ReadByte(value));
  EXPECT_TRUE(reader.NextIsNumber());  // a quoted number still is one
  EXPECT_TRUE(reader.ReadByte(value));
  Field field;
  ASSERT_TRUE(reader.Next(field));
  EXPECT_TRUE(IsTag(field, "Pin"));
  ASSERT_TRUE(reader.Next(field));
  EXPECT_FALSE(IsTag(field, "Pin"));  // a quoted text is never a tag
  EXPECT_FALSE(reader.ReadByte(value));
}

TEST(NumberTextTest, ParsesAndFormatsWithoutLocale) {
  // A locale with a decimal comma must not change anything.
  test::CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
  for (auto [value, text] : {std::pair{300.0, "300"}, {12.5, "12.5"}, {-0.25, "-0.25"}, {0.0, "0"},
                            {1e20, "100000000000000000000"}, {1.5e-7, "0.00000015"}}) {
    EXPECT_EQ(FormatReal(value), text);
  }
  EXPECT_EQ(ParseWholeNumber(" 42 "), 42);
  EXPECT_EQ(ParseWholeNumber("-7"), -7);
  EXPECT_FALSE(ParseWholeNumber("4 2").has_value());
  EXPECT_FALSE(ParseWholeNumber("1.5").has_value());
  EXPECT_FALSE(ParseWholeNumber("99999999999999").has_value());
}

TEST(RecordWriterTest, WritesLinesFieldsAndQuotes) {
  RecordWriter writer;
  writer.Line().Text("Head 1");
  writer.Record("Ins", 4).Number(-2).Real(2.5).Text("say \"hi\"");
  writer.Record("End");
  EXPECT_EQ(writer.Finish(), "\"Head 1\"\r\n    Ins,-2,2.5,\"say 'hi'\"\r\nEnd\r\n");
  EXPECT_TRUE(writer.QuotesReplaced());
}

}  // namespace
}  // namespace brixo
