#pragma once
// The address part of the pin editor: how many serial, basic DCC and extended DCC
// addresses the current pin answers to, and the first address of each kind.
#include <QWidget>
#include <array>

#include "model/address_labels.h"

class QLabel;

namespace brixo {

class AppState;
class UpDownField;

class AddressCountsPanel : public QWidget {
  Q_OBJECT
 public:
  explicit AddressCountsPanel(AppState& app, QWidget* parent = nullptr);

  // Count boxes, their visibility and the result labels from the address panel's view.
  void Show();

 private:
  UpDownField* CountField(AddressKind kind, const char* name);

  AppState& app_;
  QLabel* caption_ = nullptr;  // LabelPASPAdrCnt
  std::array<QLabel*, 3> columns_{};  // "Serial", "B-DCC", "X-DCC", by AddressKind
  std::array<UpDownField*, 3> counts_{};  // by AddressKind
  QWidget* addressFrame_ = nullptr;       // FrameAspdetails
  QLabel* serialAddress_ = nullptr;
  QLabel* pinAddress_ = nullptr;
  QLabel* dccAddress_ = nullptr;
  QLabel* xdccAddress_ = nullptr;
};

}  // namespace brixo
