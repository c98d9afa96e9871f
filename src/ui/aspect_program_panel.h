#pragma once
// Beside the step rows of the device tab: the aspect shown, in words, and under it its time
// line, both following every edit; the picture exports as SVG or PNG. The group folds away
// when its box is cleared, for small screens.
#include <QGroupBox>

class QPlainTextEdit;
class QPushButton;

namespace brixo {

class AppState;
class SvgPicture;

inline constexpr const char* kTimeLineFileFilter = "Time line picture|*.svg;*.png";

class AspectProgramPanel : public QGroupBox {
  Q_OBJECT
 public:
  explicit AspectProgramPanel(AppState& app, QWidget* parent = nullptr);

  QPlainTextEdit* Words() const { return words_; }
  SvgPicture* Picture() const { return picture_; }
  QPushButton* ExportButton() const { return export_; }

  // The current aspect of the current pin, again.
  void Show();
  // "Export Picture...": SVG, or PNG for a name ending in .png.
  bool ExportPicture();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  AppState& app_;
  QWidget* content_;
  QPlainTextEdit* words_;
  SvgPicture* picture_;
  QPushButton* export_;
  int laidOutWidth_ = 0;
};

}  // namespace brixo
