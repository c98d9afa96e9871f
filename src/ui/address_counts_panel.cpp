#include "ui/address_counts_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>
#include <utility>

#include "app/app_state.h"
#include "model/numeric_text.h"
#include "ui/core_text.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

int Index(AddressKind kind) { return static_cast<int>(kind); }

QLabel* ResultLabel(const char* name) {
  auto* label = new QLabel("-");
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance("000.000.000"));
  return label;
}

}  // namespace

AddressCountsPanel::AddressCountsPanel(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
  setObjectName("AddressCountsPanel");
  // The first addresses go under the counts: side by side they would make the tab too
  // wide for a small screen.
  auto* row = new QVBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);

  auto* countBox = new QWidget;
  auto* grid = new QGridLayout(countBox);
  grid->setContentsMargins(0, 0, 0, 0);
  caption_ = new QLabel("Nr Of Addresses");
  caption_->setObjectName("LabelPASPAdrCnt");
  caption_->setToolTip("Nr of Serial addresses assigned to Pin");
  grid->addWidget(caption_, 0, 0, 1, 3);
  // Each column's caption comes and goes with its box.
  const std::pair<const char*, const char*> columns[] = {{"Serial", "lblSerial"}, {"B-DCC", "lblBDcc"}, {"X-DCC", "lblXDcc"}};
  for (int i = 0; i < 3; ++i) {
    columns_[i] = new QLabel(columns[i].first);
    columns_[i]->setObjectName(columns[i].second);
    grid->addWidget(columns_[i], 1, i);
  }
  grid->addWidget(CountField(AddressKind::Serial, "TextPaspTamlon"), 2, 0);
  grid->addWidget(CountField(AddressKind::Dcc, "TextPaspDCCn"), 2, 1);
  grid->addWidget(CountField(AddressKind::XDcc, "TextPAspXDCCn"), 2, 2);
  grid->setColumnStretch(3, 1);
  row->addWidget(countBox);

  auto* frame = new QGroupBox("Address");
  frame->setObjectName("FrameAspdetails");
  frame->setToolTip("Nr of DCC addresses assigned to Pin");
  addressFrame_ = frame;
  // Serial addresses on the left, DCC on the right, in two rows.
  auto* addresses = new QGridLayout(frame);
  serialAddress_ = ResultLabel("lblSerialAddress");
  pinAddress_ = ResultLabel("lblPinAddress");
  dccAddress_ = ResultLabel("lblDCCAddress");
  xdccAddress_ = ResultLabel("lblXDCCAddress");
  const std::pair<const char*, QLabel*> cells[] = {
      {"Serial", serialAddress_}, {"B-DCC", dccAddress_}, {"Module.Pin", pinAddress_}, {"X-DCC", xdccAddress_}};
  for (int i = 0; i < 4; ++i) {
    addresses->addWidget(new QLabel(cells[i].first), i / 2, 2 * (i % 2));
    addresses->addWidget(cells[i].second, i / 2, 2 * (i % 2) + 1);
  }
  row->addWidget(frame);
}

UpDownField* AddressCountsPanel::CountField(AddressKind kind, const char* name) {
  auto* field = new UpDownField;
  field->setObjectName(name);
  field->setMaximumWidth(70);
  counts_[Index(kind)] = field;
  AddressPanel& panel = app_.Pins().Addresses();
  connect(field->Edit(), &QLineEdit::textEdited, this,
          [&panel, kind](const QString& text) { panel.EditCountText(kind, FromQt(text)); });
  connect(field, &UpDownField::committed, this, [this, &panel, kind](const QString& text) {
    app_.UpdateAddressInputs();
    panel.CommitCount(kind, FromQt(text));
    Show();
  });
  connect(field, &UpDownField::stepped, this, [this, &panel, kind](bool up) {
    app_.UpdateAddressInputs();
    const int count = AddressCountOf(app_.Model().PinTable[app_.Model().CurrentPin], kind);
    panel.CountSpinnerChanged(kind, SpinnerStep(count, up, 0, MaxAddressCount(kind)));
    Show();
  });
  return field;
}

void AddressCountsPanel::Show() {
  const AddressPanelView& v = app_.Pins().Addresses().View();
  counts_[Index(AddressKind::Serial)]->SetText(ToQt(v.TextPaspTamlon));
  counts_[Index(AddressKind::Dcc)]->SetText(ToQt(v.TextPaspDCCn));
  counts_[Index(AddressKind::XDcc)]->SetText(ToQt(v.TextPAspXDCCn));
  const bool shown[] = {v.Counts.TextPaspTamlon, v.Counts.TextPaspDCCn, v.Counts.TextPAspXDCCn};
  for (AddressKind kind : {AddressKind::Serial, AddressKind::Dcc, AddressKind::XDcc}) {
    counts_[Index(kind)]->setVisible(shown[Index(kind)]);
    columns_[Index(kind)]->setVisible(shown[Index(kind)] && v.Counts.LabelPASPAdrCnt);
  }
  caption_->setVisible(v.Counts.LabelPASPAdrCnt);
  addressFrame_->setVisible(app_.Pins().Editor().View().Details.FrameAspdetails);
  serialAddress_->setText(ToQt(v.Serial.lblSerialAddress));
  pinAddress_->setText(ToQt(v.Serial.lblPinAddress));
  dccAddress_->setText(ToQt(v.lblDCCAddress));
  xdccAddress_->setText(ToQt(v.lblXDCCAddress));
}

}  // namespace brixo
