#pragma once
// A LED function box. Box 7 of each LED can also be shown checked and dimmed (state 2:
// no function selected); a click never cycles into that state, it only checks or clears,
// and the LED rules decide what the boxes show afterwards.
#include <QCheckBox>
#include <cstdint>

namespace brixo {

class LedCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  using QCheckBox::QCheckBox;

  // 0 clear, 1 checked, 2 checked and dimmed.
  void SetValue(uint8_t value);
  uint8_t Value() const;

 protected:
  void nextCheckState() override;
};

}  // namespace brixo
