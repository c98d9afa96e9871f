#include "app/user_guide.h"

#include <filesystem>
#include <regex>

namespace brixo {

namespace {

bool IsFence(std::string_view line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || start > 3) return false;
  return line.substr(start, 3) == "```" || line.substr(start, 3) == "~~~";
}

// "## Text" with at most three blanks before it; empty when the line is no heading.
std::string HeadingText(std::string_view line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string_view::npos || start > 3 || line[start] != '#') return {};
  size_t level = line.find_first_not_of('#', start);
  if (level == std::string_view::npos || level - start > 6 || line[level] != ' ') return {};
  std::string_view text = line.substr(level);
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(" #");
  if (first == std::string_view::npos || last == std::string_view::npos || last < first) return {};
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::string> GuideFolderCandidates(const std::string& programFolder) {
  namespace fs = std::filesystem;
  std::vector<std::string> candidates;
  if (!programFolder.empty())
    candidates.push_back((fs::path(programFolder) / ".." / "share" / "doc" / "brixoconfig" / "guide").lexically_normal().string());
  candidates.push_back((fs::path(BRIXO_SOURCE_DATA_DIR) / ".." / "docs" / "guide").lexically_normal().string());
  return candidates;
}

std::string FindGuideFolder(const std::string& programFolder) {
  for (const std::string& folder : GuideFolderCandidates(programFolder)) {
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(folder) / kGuideContentsPage, error)) return folder;
  }
  return {};
}

GuidePage ParseGuidePage(std::string_view markdown) {
  static const std::regex kAnchor(R"re(<a (?:name|id)="([^"]+)"></a>)re");
  GuidePage page;
  bool inCode = false;
  int number = 0;
  size_t begin = 0;
  while (begin <= markdown.size()) {
    size_t end = markdown.find('\n', begin);
    if (end == std::string_view::npos) end = markdown.size();
    std::string line(markdown.substr(begin, end - begin));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    begin = end + 1;
    ++number;
    if (IsFence(line)) {
      inCode = !inCode;
      continue;
    }
    if (inCode) continue;
    std::vector<std::string> anchors;
    for (std::sregex_iterator it(line.begin(), line.end(), kAnchor), last; it != last; ++it) anchors.push_back((*it)[1]);
    const std::string heading = HeadingText(std::regex_replace(line, kAnchor, ""));
    if (heading.empty()) {
      page.StrayAnchors.insert(page.StrayAnchors.end(), anchors.begin(), anchors.end());
    } else {
      page.Headings.push_back({number, heading, std::move(anchors)});
    }
  }
  return page;
}

}  // namespace brixo
