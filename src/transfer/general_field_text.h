#pragma once
// Numbers typed into the text fields of the "General" and "Brixo Event Control" tabs.
// A field may hold anything the user typed; these turn it into the value the tab uses.
#include <string>

namespace brixo {

// The closed range of a spinner or a committed field.
struct SpinRange {
  int Min = 0;
  int Max = 0;
};

// The leading decimal number of the text (blanks before it skipped, optional sign,
// optional fraction); 0 when the text does not start with a number.
double FieldNumber(const std::string& text);

// The field's number brought into the range (a value below it becomes Min, above it Max)
// and rounded to a whole number.
int ClampedFieldValue(const std::string& text, SpinRange range);

int ClampToRange(int value, SpinRange range);

}  // namespace brixo
