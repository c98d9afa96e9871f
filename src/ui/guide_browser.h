#pragma once
// The text of the help window: a page of the user guide with its sections named as the
// page declares them, so that links and F1 reach them, and its pictures shrunk to the
// width of the text (QTextBrowser shows a picture at its own size, wider than the window).
#include <QHash>
#include <QImage>
#include <QTextBrowser>
#include <QUrl>

class QTimer;

namespace brixo {

class GuideBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit GuideBrowser(QWidget* parent = nullptr);

  // The widest a picture is shown: the text's width, whether or not a scroll bar is shown.
  int PictureWidth() const;
  // The heading a section's anchor names on the page shown; an invalid block when none.
  QTextBlock SectionHeading(const QString& anchor) const;
  // Shrinks the pictures to the width of now; the window calls it soon after a resize.
  void FitPictures();

 protected:
  QVariant loadResource(int type, const QUrl& name) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A page was loaded: its headings get their anchors, then the anchor asked for is shown.
  void PageLoaded(const QUrl& url);
  // The picture no wider than room, in the widget's pixels.
  QImage Fitted(const QImage& picture, int room) const;

  // The pictures of the pages shown, at their own size.
  QHash<QUrl, QImage> pictures_;
  int fittedWidth_ = 0;
  QTimer* refit_;
};

}  // namespace brixo
