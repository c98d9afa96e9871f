#include "files/file_problem.h"

namespace brixo {

std::string DescribeFileProblem(const FileProblem& problem) {
  std::string text = problem.File;
  if (problem.Line > 0) text += (text.empty() ? "line " : ", line ") + std::to_string(problem.Line);
  if (!text.empty()) text += ": ";
  if (!problem.Tag.empty()) text += problem.Tag + ": ";
  return text + problem.Reason;
}

std::string RefusalText(const char* firstLine, const FileProblem& problem) {
  return std::string(firstLine) + "\n" + DescribeFileProblem(problem);
}

}  // namespace brixo
