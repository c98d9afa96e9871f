#pragma once
// The time line's SVG text drawn by Qt SVG: into a widget, a PNG picture, and (later) any
// paint device such as a PDF page, always from the one SVG the core writes.
#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <string>

class QSvgRenderer;

namespace brixo {

// The picture at its own size, white behind it; a null image for SVG Qt cannot read.
QImage RenderSvg(const std::string& svg);
// The same as PNG file content; empty when it could not be made.
QByteArray SvgAsPng(const std::string& svg);

// Shows an SVG picture at its own size.
class SvgPicture : public QWidget {
  Q_OBJECT
 public:
  explicit SvgPicture(QWidget* parent = nullptr);
  ~SvgPicture() override;

  // Loads the picture unless it is the one shown; true when it changed.
  bool SetSvg(const std::string& svg);
  const std::string& Svg() const { return svg_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string svg_;
  QSvgRenderer* renderer_;
};

}  // namespace brixo
