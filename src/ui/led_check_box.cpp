#include "ui/led_check_box.h"

namespace brixo {

void LedCheckBox::SetValue(uint8_t value) {
  if (value == 2) setTristate(true);
  setCheckState(value == 0 ? Qt::Unchecked : value == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

uint8_t LedCheckBox::Value() const {
  switch (checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void LedCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked); }

}  // namespace brixo
