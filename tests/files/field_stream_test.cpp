#include <gtest/gtest.h>

#include "files/field_reader.h"
#include "files/record_writer.h"
#include "link/numeric_text.h"
#include "support/comma_locale.h"

namespace brixo {
namespace {

// Each line's fields, "|" between lines; quoted fields marked "q:".
std::vector<std::string> FieldsOf(const std::string& text, int* brokenLine = nullptr, std::string* reason = nullptr) {
  LineReader reader(text);
  std::vector<std::string> fields;
  FileLine line;
  while (reader.Next(line)) {
    if (!fields.empty()) fields.push_back("|");
    for (const Field& field : line.Fields) fields.push_back((field.Quoted ? "q:" : "") + field.Text);
  }
  if (brokenLine) *brokenLine = reader.BrokenLine();
  if (reason) *reason = reader.Reason();
  return fields;
}

TEST(LineReaderTest, ReadsEachLinesFields) {
  using V = std::vector<std::string>;
  const struct {
    std::string text;
    V fields;
  } cases[] = {
      {"Pin,3,0\r\n  Dev,-1,\"a, b\"\r\nEnd\r\n", V{"Pin", "3", "0", "|", "Dev", "-1", "q:a, b", "|", "End"}},
      {"  Ins ,  4,5\nEnd", V{"Ins", "4", "5", "|", "End"}},          // blanks around, LF alone
      {"\"x\"  ,\"y\"\r\"z\"", V{"q:x", "q:y", "|", "q:z"}},           // blanks after a quote, CR alone
      {"a,,b,\r\nc", V{"a", "", "b", "", "|", "c"}},                   // empty fields
      {"\"\",\"it's\"\r\n", V{"q:", "q:it's"}},
      {"\"end of text\"", V{"q:end of text"}},
      {"a\r\n\r\n  \t\n\nb", V{"a", "|", "b"}},                          // blank lines hold no record
      {"\"tab\there, \x01 and \x7f inside quotes\"", V{"q:tab\there, \x01 and \x7f inside quotes"}},
      {"", V{}},
  };
  for (const auto& c : cases) {
    int broken = -1;
    EXPECT_EQ(FieldsOf(c.text, &broken), c.fields) << c.text;
    EXPECT_EQ(broken, 0) << c.text;
  }
}

TEST(LineReaderTest, ABrokenLineEndsTheReadingAndIsNamed) {
  using V = std::vector<std::string>;
  // The fields of the lines before the break; nothing of the broken line is taken.
  const struct {
    std::string text;
    V fields;
    int line;
    const char* reason;
  } cases[] = {
      {"a,\"never closed\r\nEnd\r\n", V{}, 1, "a text whose closing quote is missing"},
      {"x\r\na,\"never closed", V{"x"}, 2, "a text whose closing quote is missing"},
      {"\"multi\r\nline\",x", V{}, 1, "a text whose closing quote is missing"},  // a text does not span lines
      {"Asp,0,\"Red\r\n    Ins,0,9,0,0,0,0\r\n", V{}, 1, "a text whose closing quote is missing"},
      {"\"ab\"cd,e", V{}, 1, "more behind a text's closing quote"},
      {"x\r\nPin,0,3,1,\"A r\"ed\"\r\nEnd\r\n", V{"x"}, 2, "more behind a text's closing quote"},
      {"\"x\" \"y\"", V{}, 1, "more behind a text's closing quote"},
      {"Pin,0,3,1,A r\"ed\r\n", V{}, 1, "a double quote inside a field"},
      // A control character in place of a comma or a line end would run two records into one.
      {std::string("x\r\nIns,0,9\0" "1,0,0,0\r\n", 20), V{"x"}, 2, "control character 0x00 outside quotes"},
      {"Asp,0,\"Red\"\x1e  Ins,0,9,0,0,0,0\r\n", V{}, 1, "control character 0x1E outside quotes"},
      {"x\r\ny\r\nEnd\x7f\r\n", V{"x", "|", "y"}, 3, "control character 0x7F outside quotes"},
      {"Pin,0\x0b,3", V{}, 1, "control character 0x0B outside quotes"},
  };
  for (const auto& c : cases) {
    int broken = 0;
    std::string reason;
    EXPECT_EQ(FieldsOf(c.text, &broken, &reason), c.fields) << c.text;
    EXPECT_EQ(broken, c.line) << c.text;
    EXPECT_EQ(reason, c.reason) << c.text;
  }
}

TEST(FieldCursorTest, TypedReadsCheckWidthsAndCountFields) {
  FileLine line{1, {{"Tag", false}, {"255", false}, {"256", false}, {"-32768", false}, {"x", false}, {"7", true}}};
  FieldCursor fields(line);
  int value = 0;
  EXPECT_TRUE(fields.ReadInteger(0, 255, value));
  EXPECT_EQ(value, 255);
  EXPECT_FALSE(fields.ReadInteger(0, 255, value));
  EXPECT_EQ(fields.Reason(), "field 2 is 256, outside 0 to 255");
  EXPECT_TRUE(fields.ReadInteger(-32768, 32767, value));
  EXPECT_FALSE(fields.ReadInteger(0, 255, value));
  EXPECT_EQ(fields.Reason(), "field 2 is 256, outside 0 to 255") << "the first failure is kept";
  EXPECT_TRUE(fields.ReadInteger(0, 255, value)) << "a quoted number still is one";
  EXPECT_TRUE(fields.Finish());
  std::string text;
  EXPECT_FALSE(fields.ReadText(text));

  FieldCursor missing(line);
  for (int i = 0; i < 5; ++i) missing.ReadText(text);
  EXPECT_FALSE(missing.ReadText(text));
  EXPECT_EQ(missing.Reason(), "too few fields: field 6 is missing");
  FieldCursor surplus(line);
  surplus.ReadText(text);
  EXPECT_FALSE(surplus.Finish());
  EXPECT_EQ(surplus.Reason(), "too many fields: 5 where 1 belong");
  FieldCursor word(line);
  for (int i = 0; i < 3; ++i) word.ReadText(text);
  EXPECT_FALSE(word.ReadInteger(0, 9, value));
  EXPECT_EQ(word.Reason(), "field 4 is not a whole number: x");
  EXPECT_TRUE(IsTag(line.Fields[0], "Tag"));
  EXPECT_FALSE(IsTag({"Tag", true}, "Tag")) << "a quoted text is never a tag";
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
