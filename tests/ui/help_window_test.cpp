// The user guide in the help window, as a user meets it: F1 on each tab and in dialogs
// brings that section on screen (over a modal dialog too), the search finds a word across
// the chapters, pictures shrink to the window, Escape closes it, and the pictures the guide
// shows are the ones the program takes of itself. That every link reaches its page and
// section is checked on the Markdown (tests/app/user_guide_test.cpp).
#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <set>

#include "app/user_guide.h"
#include "ui/calc_time_dialog.h"
#include "ui/communication_window.h"
#include "ui/context_help.h"
#include "ui/device_config_tab.h"
#include "ui/edit_pin_dialog.h"
#include "ui/guide_browser.h"
#include "ui/guide_pictures.h"
#include "ui/help_window.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

const QString kGuide = QString(BRIXO_TEST_DATA_DIR) + "/../docs/guide";

class HelpWindowTest : public MainWindowTest {
 protected:
  HelpWindow* Help() { return window.HelpView(); }
  GuideBrowser* Browser() { return Help()->Browser(); }
  QString Page() { return Browser()->source().adjusted(QUrl::RemoveFragment).fileName(); }

  // The section's heading lies within what the text shows.
  bool OnScreen(const QString& anchor) {
    const QTextBlock heading = Browser()->SectionHeading(anchor);
    if (!heading.isValid()) return false;
    const QRectF box = Browser()->document()->documentLayout()->blockBoundingRect(heading);
    const int scrolled = Browser()->verticalScrollBar()->value();
    return box.top() >= scrolled && box.bottom() <= scrolled + Browser()->viewport()->height();
  }
  QString Heading(const QString& anchor) { return Browser()->SectionHeading(anchor).text(); }

  void OpenGuide() {
    window.findChild<QAction*>("ActionHelp")->trigger();
    ASSERT_NE(Help(), nullptr);
    ASSERT_TRUE(Help()->isVisible());
  }
  void Search(const QString& word) {
    Help()->SearchBox()->clear();
    QTest::keyClicks(Help()->SearchBox(), word);
  }
};

TEST_F(HelpWindowTest, F1OnEachTabShowsTheSectionThatNamesIt) {
  app.SetExpertMode(true);
  window.resize(1024, 768);
  window.show();
  for (int tab = 0; tab < window.SSTab_Main()->count(); ++tab) {
    window.SSTab_Main()->setCurrentIndex(tab);
    ASSERT_EQ(window.SSTab_Main()->currentIndex(), tab);
    QTest::keyClick(window.SSTab_Main()->currentWidget(), Qt::Key_F1);
    ASSERT_NE(Help(), nullptr);
    EXPECT_TRUE(Help()->isVisible());
    const QString anchor = Browser()->source().fragment();
    EXPECT_TRUE(OnScreen(anchor)) << Page().toStdString() << "#" << anchor.toStdString();
    QString caption = window.SSTab_Main()->tabText(tab);
    caption.remove("Brixo ");
    EXPECT_TRUE(Heading(anchor).contains(caption, Qt::CaseInsensitive))
        << Heading(anchor).toStdString() << " / " << caption.toStdString();
  }
  // Wherever the focus is in the main window, the tab decides.
  window.findChild<QWidget*>("ComboPort")->setFocus();
  QTest::keyClick(window.findChild<QWidget*>("ComboPort"), Qt::Key_F1);
  EXPECT_EQ(Browser()->source().fragment(), "test-tab");
}

TEST_F(HelpWindowTest, F1InADialogOrWindowShowsItsSection) {
  OpenGuide();
  const std::vector<std::pair<const char*, std::function<QWidget*()>>> windows = {
      {"dlgEditPin",
       [&]() -> QWidget* {
         window.DevicePage()->PinDialog()->show();
         return window.DevicePage()->PinDialog();
       }},
      {"frmQuendalComm",
       [&]() -> QWidget* {
         window.OpenMonitor();
         return window.Monitor();
       }},
      {"HelpWindow", [&]() -> QWidget* { return Help()->SearchBox(); }},
  };
  for (const auto& [name, open] : windows) {
    QWidget* target = open();
    QTest::keyClick(target, Qt::Key_F1);
    const HelpSection expected = HelpSectionFor(target);
    EXPECT_STRNE(expected.Anchor, "") << name;
    EXPECT_EQ(Page(), expected.Page) << name;
    EXPECT_EQ(Browser()->source().fragment(), expected.Anchor) << name;
    EXPECT_TRUE(OnScreen(expected.Anchor)) << name;
    if (target->window() != Help()) target->window()->hide();
  }
}

// Every section the table names is a heading of the guide; and the window finds every
// heading of every chapter, so that each anchor a page declares is there to scroll to.
TEST_F(HelpWindowTest, EverySectionOfTheTableAndEveryHeadingIsThere) {
  OpenGuide();
  for (const HelpTopic& topic : kHelpTopics) {
    Help()->Open(topic.Section.Page, topic.Section.Anchor);
    EXPECT_TRUE(OnScreen(topic.Section.Anchor)) << topic.ObjectName;
  }
  for (const char* chapter : kGuideChapters) {
    Help()->Open(chapter);
    QFile file(kGuide + "/" + chapter);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const GuidePage page = ParseGuidePage(file.readAll().toStdString());
    size_t headings = 0;
    for (QTextBlock block = Browser()->document()->begin(); block.isValid(); block = block.next())
      headings += block.blockFormat().headingLevel() > 0 ? 1 : 0;
    EXPECT_EQ(headings, page.Headings.size()) << chapter;
    for (const GuideHeading& heading : page.Headings) {
      for (const std::string& anchor : heading.Anchors) {
        const QTextBlock block = Browser()->SectionHeading(QString::fromStdString(anchor));
        EXPECT_EQ(block.text().toStdString(), heading.Text) << chapter << "#" << anchor;
        // Set off from the text as a heading, though its anchor comes first.
        for (auto it = block.begin(); !it.atEnd(); ++it)
          EXPECT_EQ(it.fragment().charFormat().fontWeight(), QFont::Bold) << chapter << "#" << anchor;
      }
    }
  }
}

TEST_F(HelpWindowTest, OverAModalDialogTheGuideTakesTheInputUntilEscapeClosesIt) {
  QDialog* dialog = window.DevicePage()->TimeDialog();
  bool looked = false;
  QTimer::singleShot(0, dialog, [&] {
    QTest::keyClick(dialog, Qt::Key_F1);
    ASSERT_NE(Help(), nullptr);
    EXPECT_TRUE(Help()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), Help());
    EXPECT_TRUE(OnScreen(Browser()->source().fragment()));
    QTest::keyClick(Help()->SearchBox(), Qt::Key_Escape);
    EXPECT_FALSE(Help()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), dialog);
    looked = true;
    dialog->reject();
  });
  dialog->exec();
  EXPECT_TRUE(looked);
  // From the main window it is an ordinary window again, beside the work.
  QTest::keyClick(window.SSTab_Main(), Qt::Key_F1);
  EXPECT_TRUE(Help()->isVisible());
  EXPECT_EQ(Help()->windowModality(), Qt::NonModal);
  QTest::keyClick(Browser(), Qt::Key_Escape);
  EXPECT_FALSE(Help()->isVisible());
}

TEST_F(HelpWindowTest, TheSearchMarksAWordAndStepsThroughTheChapters) {
  OpenGuide();
  Search("latency");
  EXPECT_EQ(Help()->SearchState(), "Not on this page");
  QTest::keyClick(Help()->SearchBox(), Qt::Key_Return);
  EXPECT_EQ(Page(), "troubleshooting.md");
  EXPECT_EQ(Browser()->textCursor().selectedText().toLower(), "latency");
  const int onPage = Browser()->extraSelections().size();
  ASSERT_GE(onPage, 2);
  EXPECT_EQ(Help()->SearchState(), QString("1 of %1 on this page").arg(onPage));
  QTest::keyClick(Help()->SearchBox(), Qt::Key_F3);
  EXPECT_EQ(Help()->SearchState(), QString("2 of %1 on this page").arg(onPage));
  QTest::keyClick(Help()->SearchBox(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Help()->SearchState(), QString("1 of %1 on this page").arg(onPage));
  // Back past the first: no chapter before holds it, so the last one of this page.
  QTest::keyClick(Help()->SearchBox(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Page(), "troubleshooting.md");
  EXPECT_EQ(Help()->SearchState(), QString("%1 of %1 on this page").arg(onPage));

  Search("zeppelin");
  EXPECT_FALSE(Help()->FindNext());
  EXPECT_EQ(Help()->SearchState(), "Not in the guide");
  EXPECT_TRUE(Browser()->extraSelections().isEmpty());
}

TEST_F(HelpWindowTest, PicturesShrinkToTheWindowButNeverGrow) {
  OpenGuide();
  const auto pictureWidths = [&] {
    std::vector<double> widths;
    for (QTextBlock block = Browser()->document()->begin(); block.isValid(); block = block.next())
      for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat()) {
          const QImage shown = Browser()
                                   ->document()
                                   ->resource(QTextDocument::ImageResource,
                                              QUrl(it.fragment().charFormat().toImageFormat().name()))
                                   .value<QImage>();
          widths.push_back(shown.deviceIndependentSize().width());
        }
    return widths;
  };
  Help()->resize(600, 600);
  for (const char* chapter : kGuideChapters) {
    Help()->Open(chapter);
    Browser()->FitPictures();
    for (double width : pictureWidths()) EXPECT_LE(width, Browser()->PictureWidth()) << chapter;
  }
  // Wide enough, the window's picture is shown at its own size, and no larger.
  Help()->resize(1300, 700);
  Help()->Open("getting-started.md");
  Browser()->FitPictures();
  const std::vector<double> widths = pictureWidths();
  ASSERT_FALSE(widths.empty());
  EXPECT_DOUBLE_EQ(widths.front(), QImage(kGuide + "/pictures/main-window.png").width());
}

TEST_F(HelpWindowTest, TheProgramTakesEveryPictureTheGuideShows) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QStringList written = RenderGuidePictures(window, dir.path());
  ASSERT_FALSE(written.isEmpty());
  QStringList files;
  for (const QString& path : written) files << QFileInfo(path).fileName();
  EXPECT_EQ(files, GuidePictureFiles());
  const QStringList shipped = QDir(kGuide + "/pictures").entryList({"*.png"}, QDir::Files, QDir::Name);
  QStringList sorted = files;
  sorted.sort();
  EXPECT_EQ(sorted, shipped);
  EXPECT_EQ(QImage(QDir(dir.path()).filePath("main-window.png")).size(), window.size());
  for (const QString& path : written) EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
}

}  // namespace
}  // namespace brixo::window_test
