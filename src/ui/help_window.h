#pragma once
// The help window: the user guide with its links, "Back", "Forward" and "Contents", and a
// search box that marks every place a word occurs on the page and steps through them,
// going on into the next chapters. Escape closes it.
#include <QHash>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brixo {

class GuideBrowser;

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  // guideFolder: where the guide's pages are; empty when none was found.
  explicit HelpWindow(const QString& guideFolder, QWidget* parent = nullptr);

  // Shows a page of the guide (its file name) at a section (empty: at its top). Over a
  // modal dialog the window is modal itself, so that it can be read and scrolled.
  void Open(const QString& page, const QString& anchor = {});

  GuideBrowser* Browser() const { return browser_; }
  QLineEdit* SearchBox() const { return search_; }
  // What the search found: "2 of 5 on this page", "Not in the guide".
  QString SearchState() const;
  // Selects the next (backward: the previous) place of the search box's word after the
  // selection, on this page or in the chapters after (before) it, round to this page's
  // other end. False when the guide does not hold the word.
  bool FindNext(bool backward = false);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Return, Shift+Return, F3 and Shift+F3 in the search box step through the places found.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A link clicked: pages of the guide open here, anything else in its own program.
  void Follow(const QUrl& link);
  // The word typed so far: the first place from the top of what is shown on.
  void SearchEdited();
  // Every place of the word on the page shown is marked, the selected one most.
  void MarkMatches();
  QUrl ChapterUrl(int chapter) const;
  bool ChapterHolds(int chapter, const QString& word);

  QString folder_;
  GuideBrowser* browser_;
  QPushButton* back_;
  QPushButton* forward_;
  QLineEdit* search_;
  QLabel* found_;
  // The chapters' text, as read for searching them.
  QHash<int, QString> chapterTexts_;
};

}  // namespace brixo
