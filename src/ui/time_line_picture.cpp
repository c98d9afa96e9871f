#include "ui/time_line_picture.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgRenderer>

namespace brixo {

QImage RenderSvg(const std::string& svg) {
  QSvgRenderer renderer(QByteArray::fromStdString(svg));
  if (!renderer.isValid()) return {};
  QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  renderer.render(&painter);
  return image;
}

QByteArray SvgAsPng(const std::string& svg) {
  const QImage image = RenderSvg(svg);
  if (image.isNull()) return {};
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return bytes;
}

SvgPicture::SvgPicture(QWidget* parent) : QWidget(parent), renderer_(new QSvgRenderer(this)) {
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

SvgPicture::~SvgPicture() = default;

bool SvgPicture::SetSvg(const std::string& svg) {
  if (svg == svg_) return false;
  svg_ = svg;
  renderer_->load(QByteArray::fromStdString(svg_));
  setFixedHeight(renderer_->isValid() ? renderer_->defaultSize().height() : 0);
  updateGeometry();
  update();
  return true;
}

// Only the height is the picture's own: the owner lays the picture out for the width it is
// given, and a width asked for here would make the column grow with every layout.
QSize SvgPicture::sizeHint() const { return QSize(120, renderer_->isValid() ? renderer_->defaultSize().height() : 0); }

void SvgPicture::paintEvent(QPaintEvent*) {
  if (!renderer_->isValid()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  renderer_->render(&painter, QRectF(QPointF(0, 0), renderer_->defaultSize()));
}

}  // namespace brixo
