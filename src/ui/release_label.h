#pragma once
// The release label: a double-click opens the communication monitor, a right-button press
// asks for expert mode.
#include <QLabel>

namespace brixo {

class ReleaseLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ReleaseLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

 signals:
  void doubleClicked();
  void rightPressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace brixo
