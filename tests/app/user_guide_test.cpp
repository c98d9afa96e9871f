// The user guide as shipped: every link between its pages reaches a page and a section
// that exist, every picture it shows is there (and no picture lies unused), every page is
// in the reading order the search follows, and the program finds the guide where it is
// installed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "app/help_files.h"
#include "app/user_guide.h"
#include "support/scratch_folder.h"

namespace brixo {
namespace {

namespace fs = std::filesystem;

const fs::path kGuide = fs::path(BRIXO_TEST_DATA_DIR) / ".." / "docs" / "guide";

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct Link {
  std::string Page;
  int Line = 0;
  std::string Target;
  bool Picture = false;
};

// Code is blanked out (fenced blocks and `spans`), keeping the line count, so that what is
// left is prose with its links; a link's text may run over several lines.
std::string ProseOf(const std::string& markdown) {
  std::string prose;
  bool inCode = false;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    const bool fence = line.rfind("```", 0) == 0 || line.rfind("~~~", 0) == 0;
    if (fence) inCode = !inCode;
    prose += (fence || inCode) ? std::string() : std::regex_replace(line, std::regex("`[^`]*`"), " ");
    prose += '\n';
  }
  return prose;
}

std::vector<Link> LinksOf(const std::string& page, const std::string& markdown) {
  static const std::regex kLink(R"((!?)\[[^\]]*\]\(([^)\s]*)\))");
  const std::string prose = ProseOf(markdown);
  std::vector<Link> links;
  for (std::sregex_iterator it(prose.begin(), prose.end(), kLink), end; it != end; ++it) {
    const int line = 1 + static_cast<int>(std::count(prose.begin(), prose.begin() + it->position(), '\n'));
    links.push_back({page, line, (*it)[2], (*it)[1] == "!"});
  }
  return links;
}

std::set<std::string> AnchorsOf(const fs::path& page) {
  std::set<std::string> anchors;
  for (const GuideHeading& heading : ParseGuidePage(ReadText(page)).Headings)
    anchors.insert(heading.Anchors.begin(), heading.Anchors.end());
  return anchors;
}

std::vector<std::string> Pages() {
  std::vector<std::string> pages;
  for (const auto& entry : fs::directory_iterator(kGuide))
    if (entry.path().extension() == ".md") pages.push_back(entry.path().filename().string());
  std::sort(pages.begin(), pages.end());
  return pages;
}

TEST(UserGuideTest, EveryLinkReachesAPageAndASectionThatExist) {
  int checked = 0;
  for (const std::string& page : Pages()) {
    for (const Link& link : LinksOf(page, ReadText(kGuide / page))) {
      const std::string where = page + ":" + std::to_string(link.Line) + ": " + link.Target;
      if (link.Target.find("://") != std::string::npos) continue;
      ++checked;
      const size_t hash = link.Target.find('#');
      const std::string file = link.Target.substr(0, hash);
      const fs::path target = file.empty() ? kGuide / page : (kGuide / file).lexically_normal();
      EXPECT_TRUE(fs::is_regular_file(target)) << where;
      if (link.Picture) {
        EXPECT_EQ(file.rfind("pictures/", 0), 0u) << where << ": pictures live in pictures/";
        EXPECT_EQ(hash, std::string::npos) << where;
      }
      if (hash == std::string::npos) continue;
      EXPECT_EQ(target.extension(), ".md") << where << ": only the guide's pages have sections";
      EXPECT_EQ(AnchorsOf(target).count(link.Target.substr(hash + 1)), 1u) << where << ": no such section";
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(UserGuideTest, EveryPictureIsShownAndEveryPictureShownIsThere) {
  std::set<std::string> shown;
  for (const std::string& page : Pages())
    for (const Link& link : LinksOf(page, ReadText(kGuide / page)))
      if (link.Picture) shown.insert(link.Target.substr(std::string("pictures/").size()));
  std::set<std::string> there;
  for (const auto& entry : fs::directory_iterator(kGuide / "pictures")) there.insert(entry.path().filename().string());
  EXPECT_EQ(shown, there);
  EXPECT_GE(shown.size(), 10u);
}

TEST(UserGuideTest, EveryPageIsAChapterWithUniqueAnchorsInItsHeadings) {
  std::vector<std::string> chapters(kGuideChapters.begin(), kGuideChapters.end());
  std::sort(chapters.begin(), chapters.end());
  EXPECT_EQ(Pages(), chapters) << "the search walks the chapters in kGuideChapters";
  for (const std::string& page : Pages()) {
    const GuidePage parsed = ParseGuidePage(ReadText(kGuide / page));
    EXPECT_TRUE(parsed.StrayAnchors.empty()) << page << ": an anchor outside a heading: " << parsed.StrayAnchors[0];
    std::map<std::string, int> count;
    for (const GuideHeading& heading : parsed.Headings)
      for (const std::string& anchor : heading.Anchors) ++count[anchor];
    for (const auto& [anchor, times] : count) EXPECT_EQ(times, 1) << page << ": #" << anchor;
    // The page's title carries an anchor too, so that every page can be linked alike.
    ASSERT_FALSE(parsed.Headings.empty()) << page;
    EXPECT_EQ(parsed.Headings.front().Line, 1) << page;
    EXPECT_FALSE(parsed.Headings.front().Anchors.empty()) << page;
  }
}

// The sample shown in the command-line chapter is the shipped file's, word for word.
TEST(UserGuideTest, TheSerialServerSampleIsTheShippedOnes) {
  const std::string page = ReadText(kGuide / "command-line.md");
  const std::string shipped = ReadText(kGuide / ".." / "ser2net-layout.yaml");
  const size_t start = page.find("```yaml\n");
  ASSERT_NE(start, std::string::npos);
  const size_t body = start + std::string("```yaml\n").size();
  const std::string sample = page.substr(body, page.find("```", body) - body);
  EXPECT_GT(sample.size(), 100u);
  EXPECT_NE(shipped.find(sample), std::string::npos) << sample;
}

TEST(UserGuideTest, PagesDeclareTheirAnchorsInTheirHeadings) {
  struct Case {
    const char* Markdown;
    std::vector<std::pair<std::string, std::vector<std::string>>> Headings;
    std::vector<std::string> Stray;
  };
  const Case cases[] = {
      {"# <a name=\"top\"></a>Title\ntext\n## Plain\n", {{"Title", {"top"}}, {"Plain", {}}}, {}},
      {"## <a id=\"x\"></a><a name=\"y\"></a>Two names ##\r\n", {{"Two names", {"x", "y"}}}, {}},
      // A heading in a code block is code; an anchor outside a heading points nowhere.
      {"```\n# <a name=\"code\"></a>Not a heading\n```\n<a name=\"loose\"></a>\n#NoBlank\n",
       {},
       {"loose"}},
      {"    # <a name=\"deep\"></a>Indented code\n   ### Three blanks\n", {{"Three blanks", {}}}, {"deep"}},
  };
  for (const Case& c : cases) {
    const GuidePage page = ParseGuidePage(c.Markdown);
    std::vector<std::pair<std::string, std::vector<std::string>>> headings;
    for (const GuideHeading& heading : page.Headings) headings.emplace_back(heading.Text, heading.Anchors);
    EXPECT_EQ(headings, c.Headings) << c.Markdown;
    EXPECT_EQ(page.StrayAnchors, c.Stray) << c.Markdown;
  }
}

// Installed under /usr or ~/.local, the program finds the guide in its prefix's doc folder;
// run from its build folder, in the source tree.
TEST(UserGuideTest, TheProgramFindsTheGuideInstalledOrInItsSourceTree) {
  testing::ScratchFolder scratch;
  for (const char* prefix : {"usr", "home/anna/.local"}) {
    const fs::path root = fs::path(scratch.Path()) / prefix;
    const fs::path guide = root / "share" / "doc" / "brixoconfig" / "guide";
    fs::create_directories(root / "bin");
    fs::create_directories(guide);
    EXPECT_EQ(FindGuideFolder((root / "bin").string()), (kGuide.lexically_normal()).string()) << "no pages yet";
    std::ofstream(guide / kGuideContentsPage) << "# Guide\n";
    EXPECT_EQ(FindGuideFolder((root / "bin").string()), guide.string()) << prefix;
  }
  EXPECT_EQ(FindGuideFolder(""), kGuide.lexically_normal().string());
  EXPECT_NE(AboutText().find(kReleaseCaption), std::string::npos);
}

}  // namespace
}  // namespace brixo
