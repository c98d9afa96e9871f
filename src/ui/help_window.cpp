#include "ui/help_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/user_guide.h"
#include "ui/guide_browser.h"

namespace brixo {

namespace {

constexpr int kChapterCount = static_cast<int>(kGuideChapters.size());
const QColor kMatch(255, 236, 128);
const QColor kSelectedMatch(255, 160, 64);

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

int ChapterOf(const QUrl& page) {
  const QString file = page.adjusted(QUrl::RemoveFragment).fileName();
  for (int i = 0; i < kChapterCount; ++i) {
    if (file == QLatin1String(kGuideChapters[i])) return i;
  }
  return 0;
}

}  // namespace

HelpWindow::HelpWindow(const QString& guideFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(guideFolder.isEmpty() ? QString() : QDir::cleanPath(guideFolder)), browser_(new GuideBrowser(this)) {
  setObjectName("HelpWindow");
  setWindowTitle("BrixoConfig User Guide");
  // Beside the main window on the smallest screen the program is made for.
  resize(820, 640);
  browser_->setOpenLinks(false);

  back_ = Button("Back", "cmdHelpBack", this);
  forward_ = Button("Forward", "cmdHelpForward", this);
  auto* contents = Button("Contents", "cmdHelpContents", this);
  search_ = new QLineEdit(this);
  search_->setObjectName("TextHelpSearch");
  search_->setPlaceholderText("Search the guide");
  search_->setClearButtonEnabled(true);
  auto* previous = Button("Previous", "cmdHelpPrevious", this);
  auto* next = Button("Next", "cmdHelpNext", this);
  found_ = new QLabel(this);
  found_->setObjectName("LabelHelpFound");
  found_->setMinimumWidth(found_->fontMetrics().horizontalAdvance("999 of 999 on this page"));
  back_->setEnabled(false);
  forward_->setEnabled(false);

  auto* bar = new QHBoxLayout;
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addWidget(contents);
  bar->addSpacing(12);
  bar->addWidget(search_, 1);
  bar->addWidget(previous);
  bar->addWidget(next);
  bar->addWidget(found_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);

  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { Open(kGuideContentsPage); });
  connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::Follow);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkMatches);
  connect(search_, &QLineEdit::textEdited, this, &HelpWindow::SearchEdited);
  search_->installEventFilter(this);
  connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });

  const auto shortcut = [this](const QKeySequence& keys, auto action) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
  };
  shortcut(QKeySequence::Find, [this] {
    search_->setFocus(Qt::ShortcutFocusReason);
    search_->selectAll();
  });
  shortcut(QKeySequence::FindNext, [this] { FindNext(); });
  shortcut(QKeySequence::FindPrevious, [this] { FindNext(true); });
  shortcut(QKeySequence::Back, [this] { browser_->backward(); });
  shortcut(QKeySequence::Forward, [this] { browser_->forward(); });

  if (folder_.isEmpty()) {
    browser_->setPlainText("The user guide was not found beside the program.");
    search_->setEnabled(false);
  }
}

void HelpWindow::Open(const QString& page, const QString& anchor) {
  // A window opened over a modal dialog would be blocked by it: it is modal itself then,
  // on top of the dialog, until it is closed.
  QWidget* modal = QApplication::activeModalWidget();
  const bool overDialog = modal != nullptr && modal != this;
  const Qt::WindowModality modality = overDialog ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != modality) {
    hide();
    setWindowModality(modality);
  }
  // Shown first, so that the pictures fit the laid-out width and the section is scrolled to.
  show();
  raise();
  activateWindow();
  if (folder_.isEmpty()) return;
  QUrl url = QUrl::fromLocalFile(QDir(folder_).filePath(page));
  if (!anchor.isEmpty()) url.setFragment(anchor);
  browser_->setSource(url);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  // The text and the search box leave Escape to their window.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != search_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool step = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F3;
  const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (!step || others != Qt::NoModifier) return false;
  FindNext(key->modifiers().testFlag(Qt::ShiftModifier));
  return true;
}

QString HelpWindow::SearchState() const { return found_->text(); }

void HelpWindow::Follow(const QUrl& link) {
  const QUrl target = browser_->source().resolved(link);
  if (target.isLocalFile() && target.path().endsWith(".md")) {
    browser_->setSource(target);
    return;
  }
  QDesktopServices::openUrl(target);
}

QUrl HelpWindow::ChapterUrl(int chapter) const {
  return QUrl::fromLocalFile(QDir(folder_).filePath(QLatin1String(kGuideChapters[chapter])));
}

bool HelpWindow::ChapterHolds(int chapter, const QString& word) {
  auto text = chapterTexts_.find(chapter);
  if (text == chapterTexts_.end()) {
    QFile file(ChapterUrl(chapter).toLocalFile());
    QTextDocument document;
    if (file.open(QIODevice::ReadOnly)) document.setMarkdown(QString::fromUtf8(file.readAll()));
    text = chapterTexts_.insert(chapter, document.toPlainText());
  }
  return text->contains(word, Qt::CaseInsensitive);
}

bool HelpWindow::FindNext(bool backward) {
  const QString word = search_->text();
  if (word.isEmpty() || folder_.isEmpty()) return false;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = browser_->find(word, flags);
  // Past the page's end: the next chapter that holds the word, or this page again from
  // its other end.
  const int here = ChapterOf(browser_->source());
  for (int step = 1; !found && step <= kChapterCount; ++step) {
    const int chapter = ((here + (backward ? -step : step)) % kChapterCount + kChapterCount) % kChapterCount;
    if (!ChapterHolds(chapter, word)) continue;
    if (chapter != here) browser_->setSource(ChapterUrl(chapter));
    QTextCursor start(browser_->document());
    start.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(start);
    found = browser_->find(word, flags);
  }
  MarkMatches();
  return found;
}

void HelpWindow::SearchEdited() {
  const QString word = search_->text();
  if (!word.isEmpty()) {
    QTextCursor top = browser_->cursorForPosition(QPoint(0, 0));
    browser_->setTextCursor(top);
    if (!browser_->find(word)) browser_->setTextCursor(top);
  }
  MarkMatches();
}

void HelpWindow::MarkMatches() {
  const QString word = search_->text();
  QList<QTextEdit::ExtraSelection> marks;
  int selected = 0;
  if (!word.isEmpty()) {
    const QTextCursor selection = browser_->textCursor();
    for (QTextCursor match = browser_->document()->find(word); !match.isNull();
         match = browser_->document()->find(word, match)) {
      QTextEdit::ExtraSelection mark;
      mark.cursor = match;
      mark.format.setBackground(kMatch);
      marks << mark;
      if (selection.hasSelection() && match.selectionStart() == selection.selectionStart()) selected = marks.size();
    }
    // Drawn last, over the others.
    if (selected > 0) {
      marks[selected - 1].format.setBackground(kSelectedMatch);
      marks.move(selected - 1, marks.size() - 1);
    }
  }
  browser_->setExtraSelections(marks);
  if (word.isEmpty()) {
    found_->clear();
  } else if (marks.isEmpty()) {
    bool elsewhere = false;
    for (int chapter = 0; chapter < kChapterCount && !elsewhere; ++chapter) elsewhere = ChapterHolds(chapter, word);
    found_->setText(elsewhere ? "Not on this page" : "Not in the guide");
  } else if (selected > 0) {
    found_->setText(QString("%1 of %2 on this page").arg(selected).arg(marks.size()));
  } else {
    found_->setText(QString("%1 on this page").arg(marks.size()));
  }
}

}  // namespace brixo
