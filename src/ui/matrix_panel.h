#pragma once
// The matrix test panel of the "Test" tab: ten serial-address boxes "MB0".."MB9" and
// thirty-two aspect buttons "MB-0".."MB-31"; button k sends aspect k through every checked
// address, in ascending order.
#include <QGroupBox>
#include <array>

#include "app/live_commands.h"

class QCheckBox;
class QPushButton;

namespace brixo {

class MatrixPanel : public QGroupBox {
  Q_OBJECT
 public:
  static constexpr int kButtonCount = 32;
  static constexpr int kLabelCount = 20;

  explicit MatrixPanel(BrixoLink& link, QWidget* parent = nullptr);

  // Which of ChkMatrix(0..9) are checked.
  std::array<bool, kMatrixBoxCount> Checked() const;

 private:
  BrixoLink& link_;
  std::array<QCheckBox*, kMatrixBoxCount> chkMatrix_{};
};

}  // namespace brixo
