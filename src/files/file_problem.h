#pragma once
// Where and why a data or definitions file was refused, for the message that follows
// "Invalid configuration file": "demo.dat, line 57: Pin: too few fields: field 4 is missing".
#include <string>

namespace brixo {

struct FileProblem {
  std::string File;    // the file's name without its folder; empty for a text read from elsewhere
  int Line = 0;        // counted from 1; 0 when the problem is the file as a whole
  std::string Tag;     // the record's tag; empty when the line has none
  std::string Reason;  // what is wrong, in words
};

// "demo.dat, line 57: Pin: <reason>"; the parts that are unknown are left out.
std::string DescribeFileProblem(const FileProblem& problem);

// The refusal's first line, then the problem on the second.
std::string RefusalText(const char* firstLine, const FileProblem& problem);

}  // namespace brixo
