#pragma once
// The user guide that comes with the program: where its pages are, their reading order,
// and the anchors a page declares for its sections. A page is Markdown; a section's
// anchor is written into its heading, `## <a name="NAME"></a>Heading`, so that links and
// the window's F1 keep working when a heading is reworded.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace brixo {

inline constexpr const char* kGuideContentsPage = "index.md";

// The chapters in reading order; a search that finds nothing more on one goes on in the next.
inline constexpr std::array<const char*, 7> kGuideChapters = {
    "index.md",  "getting-started.md", "concepts.md",     "window.md",
    "tasks.md",  "troubleshooting.md", "command-line.md",
};

// The folder holding the guide's pages, or empty when none is found: installed under the
// program's prefix (share/doc/brixoconfig/guide, as for /usr and ~/.local), else the
// source tree's docs/guide for a program run from its build folder.
std::string FindGuideFolder(const std::string& programFolder);

// The candidates FindGuideFolder tries, in order.
std::vector<std::string> GuideFolderCandidates(const std::string& programFolder);

struct GuideHeading {
  int Line = 0;  // counted from 1
  std::string Text;
  std::vector<std::string> Anchors;
};

struct GuidePage {
  // The headings in order, those in code blocks left out.
  std::vector<GuideHeading> Headings;
  // Anchors outside a heading: nothing a link to them could scroll to.
  std::vector<std::string> StrayAnchors;
};

GuidePage ParseGuidePage(std::string_view markdown);

}  // namespace brixo
