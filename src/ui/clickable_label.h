#pragma once
// A label that acts on a click ("Pin", "Aspect", the step numbers) or a double-click (the
// step durations, "Initial Level").
#include <QLabel>

namespace brixo {

class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(const QString& text = {}, QWidget* parent = nullptr);

 signals:
  void clicked();
  void doubleClicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace brixo
