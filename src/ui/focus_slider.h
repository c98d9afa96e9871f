#pragma once
// A test slider that reports when it gains and loses the input focus: only moves made
// while it has the focus are the user's and go to the controller.
#include <QSlider>

namespace brixo {

class FocusSlider : public QSlider {
  Q_OBJECT
 public:
  explicit FocusSlider(QWidget* parent = nullptr);

 signals:
  void focusChanged(bool hasFocus);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace brixo
