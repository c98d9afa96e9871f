#include "ui/guide_browser.h"

#include <QFile>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTimer>
#include <QtMath>
#include <algorithm>

#include "app/user_guide.h"

namespace brixo {

namespace {

// How far a block's text begins right of the page's margin: lists and quotes indent it.
int IndentOf(const QTextBlock& block) {
  const QTextDocument* document = block.document();
  const QTextBlockFormat format = block.blockFormat();
  qreal indent = format.leftMargin() + format.indent() * document->indentWidth();
  if (const QTextList* list = block.textList()) indent += list->format().indent() * document->indentWidth();
  return qRound(indent);
}

}  // namespace

GuideBrowser::GuideBrowser(QWidget* parent) : QTextBrowser(parent), refit_(new QTimer(this)) {
  setObjectName("HelpText");
  // Dragging a window's edge resizes it many times a second: the pictures follow once it rests.
  refit_->setSingleShot(true);
  refit_->setInterval(60);
  connect(refit_, &QTimer::timeout, this, &GuideBrowser::FitPictures);
  connect(this, &QTextBrowser::sourceChanged, this, &GuideBrowser::PageLoaded);
}

int GuideBrowser::PictureWidth() const {
  // The scroll bar's room is kept free always, so that a picture does not change its size
  // (and the page its length) as the bar comes and goes.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int margins = 2 * frameWidth() + 2 * qCeil(document()->documentMargin()) + bar;
  return std::max(64, width() - margins);
}

QTextBlock GuideBrowser::SectionHeading(const QString& anchor) const {
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 0) continue;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().charFormat().anchorNames().contains(anchor)) return block;
    }
  }
  return {};
}

QVariant GuideBrowser::loadResource(int type, const QUrl& name) {
  const QVariant data = QTextBrowser::loadResource(type, name);
  if (type != QTextDocument::ImageResource) return data;
  QImage picture;
  if (data.userType() == QMetaType::QByteArray) {
    picture.loadFromData(data.toByteArray());
  } else if (data.canConvert<QImage>()) {
    picture = data.value<QImage>();
  }
  if (picture.isNull()) return data;
  pictures_.insert(name, picture);
  return Fitted(picture, PictureWidth());
}

QImage GuideBrowser::Fitted(const QImage& picture, int room) const {
  if (picture.width() <= room) return picture;
  // Scaled here, smoothly: the text's painter would scale it pixel by pixel.
  const qreal ratio = devicePixelRatioF();
  QImage fitted = picture.scaledToWidth(qRound(room * ratio), Qt::SmoothTransformation);
  fitted.setDevicePixelRatio(ratio);
  return fitted;
}

void GuideBrowser::FitPictures() {
  refit_->stop();
  const int width = PictureWidth();
  fittedWidth_ = width;
  // A picture used in several places takes the room of the narrowest.
  QHash<QUrl, int> rooms;
  for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isImageFormat()) continue;
      const QUrl name(format.toImageFormat().name());
      const int room = width - IndentOf(block);
      rooms[name] = rooms.contains(name) ? std::min(rooms[name], room) : room;
    }
  }
  bool changed = false;
  for (auto room = rooms.cbegin(); room != rooms.cend(); ++room) {
    if (!pictures_.contains(room.key())) document()->resource(QTextDocument::ImageResource, room.key());
    const auto original = pictures_.constFind(room.key());
    if (original == pictures_.cend()) continue;
    const QImage fitted = Fitted(*original, room.value());
    const QImage shown = document()->resource(QTextDocument::ImageResource, room.key()).value<QImage>();
    if (shown.size() == fitted.size() && shown.devicePixelRatio() == fitted.devicePixelRatio()) continue;
    document()->addResource(QTextDocument::ImageResource, room.key(), fitted);
    changed = true;
  }
  if (changed) document()->markContentsDirty(0, document()->characterCount());
}

void GuideBrowser::resizeEvent(QResizeEvent* event) {
  QTextBrowser::resizeEvent(event);
  if (PictureWidth() != fittedWidth_) refit_->start();
}

void GuideBrowser::PageLoaded(const QUrl& url) {
  // Qt loads a page again at times when only its section changes, which drops the anchors
  // given below: they are given on every load, which costs a read of a small file.
  QFile file(url.adjusted(QUrl::RemoveFragment).toLocalFile());
  const GuidePage parsed = file.open(QIODevice::ReadOnly) ? ParseGuidePage(file.readAll().toStdString()) : GuidePage{};
  // The page declares its anchors in its headings, which Qt's Markdown reader leaves out:
  // its n-th heading is the document's n-th heading block.
  document()->setUndoRedoEnabled(false);
  QTextCursor cursor(document());
  size_t index = 0;
  for (QTextBlock block = document()->begin(); block.isValid() && index < parsed.Headings.size();
       block = block.next()) {
    if (block.blockFormat().headingLevel() == 0) continue;
    const GuideHeading& heading = parsed.Headings[index++];
    if (heading.Anchors.empty()) continue;
    QStringList names;
    for (const std::string& anchor : heading.Anchors) names << QString::fromStdString(anchor);
    // The reader takes the heading's look from the block; the anchor's HTML before the text
    // ends it there, so it is given again, as the reader gives it: H1 to H6 larger to smaller.
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorNames(names);
    format.setFontWeight(QFont::Bold);
    format.setProperty(QTextFormat::FontSizeAdjustment, 4 - block.blockFormat().headingLevel());
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
  FitPictures();
  if (!url.fragment().isEmpty()) scrollToAnchor(url.fragment());
}

}  // namespace brixo
