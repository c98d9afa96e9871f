// The controls of the "General" tab, their captions and what each user action does.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "files/general_records.h"
#include "transfer/general_settings.h"
#include "ui/general_tab.h"
#include "ui/core_text.h"
#include "ui/led_check_box.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

QString Indexed(const char* name, int index) { return QString("%1_%2").arg(name).arg(index); }

QHBoxLayout* ButtonRow(QPushButton* read, QPushButton* write) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(read);
  if (write) row->addWidget(write);
  return row;
}

QGroupBox* Group(const QString& title, const char* name) {
  auto* box = new QGroupBox(title);
  box->setObjectName(name);
  return box;
}

// Option buttons of one group; ids are the option indexes. In a grid they go `perRow`
// to a row.
QButtonGroup* Options(QWidget* owner, const char* name, QLayout* layout,
                      const std::vector<std::pair<int, const char*>>& options, int perRow = 0) {
  auto* group = new QButtonGroup(owner);
  group->setObjectName(name);
  auto* grid = qobject_cast<QGridLayout*>(layout);
  int index = 0;
  for (const auto& [id, caption] : options) {
    auto* button = new QRadioButton(caption);
    button->setObjectName(Indexed(name, id));
    group->addButton(button, id);
    if (grid != nullptr && perRow > 0) {
      grid->addWidget(button, index / perRow, index % perRow);
    } else {
      layout->addWidget(button);
    }
    ++index;
  }
  return group;
}

}  // namespace

GeneralTabWidget::GeneralTabWidget(TransferContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
  setObjectName("GeneralTab");
  // Three columns of groups, each column as tall as its own groups need; together they
  // fit a 1024 x 768 window.
  auto* content = new QWidget;
  auto* columns = new QHBoxLayout(content);
  columns->setSpacing(8);
  // Under a window manager's title bar a 768-line screen leaves the tab little height to spare.
  columns->setContentsMargins(8, 4, 8, 4);
  const std::array<std::vector<QGroupBox*>, 3> groups = {{
      {BuildVersionGroup(), BuildIdGroup(), BuildLedGroup(), BuildEraseGroup()},
      {BuildDccGroup(), BuildSerialGroup()},
      {BuildAddressGroup(), BuildHardwareGroup()},
  }};
  for (const std::vector<QGroupBox*>& column : groups) {
    auto* stack = new QVBoxLayout;
    stack->setSpacing(6);
    for (QGroupBox* group : column) stack->addWidget(group);
    stack->addStretch(1);
    columns->addLayout(stack, 1);
  }

  // Small screens scroll the tab instead of squeezing the groups.
  auto* scroll = new QScrollArea;
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  ShowGeneralSettings();
}

QPushButton* GeneralTabWidget::Button(const QString& caption, const char* name, void (GeneralTabWidget::*handler)()) {
  auto* button = new QPushButton(caption);
  button->setObjectName(name);
  connect(button, &QPushButton::clicked, this, handler);
  return button;
}

QGroupBox* GeneralTabWidget::BuildVersionGroup() {
  QGroupBox* box = Group("Firmware", "FrameGenVersion");
  labelVersion_ = new QLabel;
  labelVersion_->setObjectName("LabelGenVersionString");
  labelVersion_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Firmware Version:"));
  row->addWidget(labelVersion_, 1);
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(row);
  layout->addLayout(
      ButtonRow(Button("Request Version", "CommandGenVersion", &GeneralTabWidget::RequestVersion), nullptr));
  return box;
}

QGroupBox* GeneralTabWidget::BuildIdGroup() {
  QGroupBox* box = Group("ID String", "FrameGenIDString");
  textIdString_ = new QLineEdit;
  textIdString_->setObjectName("TextGenIDString");
  connect(textIdString_, &QLineEdit::textEdited, this,
          [this](const QString& text) { ctx_.General.TextGenIDString = FromQt(text); });
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(textIdString_);
  layout->addLayout(ButtonRow(Button("Read String", "CommandGenIDRead", &GeneralTabWidget::ReadString),
                              Button("Write String", "CommandGenIDWrite", &GeneralTabWidget::WriteString)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildDccGroup() {
  QGroupBox* box = Group("DCC Settings", "FrameGenDCC");
  auto* layout = new QVBoxLayout(box);
  auto* addresses = new QGridLayout;
  textDccAddress_ = new UpDownField;
  textDccAddress_->setObjectName("TextGenDCCAddress");
  textXDccAddress_ = new UpDownField;
  textXDccAddress_->setObjectName("TextGenXDCCAddress");
  labelDccOutput_ = new QLabel;
  labelDccOutput_->setObjectName("LabelGenDCCOutput");
  labelXDccOutput_ = new QLabel;
  labelXDccOutput_->setObjectName("LabelGenXDCCOutput");
  addresses->addWidget(new QLabel("Basic Decoder Addr"), 0, 0);
  addresses->addWidget(textDccAddress_, 0, 1);
  addresses->addWidget(labelDccOutput_, 1, 0, 1, 2);
  addresses->addWidget(new QLabel("Extended Dec. Addr"), 2, 0);
  addresses->addWidget(textXDccAddress_, 2, 1);
  addresses->addWidget(labelXDccOutput_, 3, 0, 1, 2);
  addresses->setColumnStretch(1, 1);
  layout->addLayout(addresses);

  connect(textDccAddress_, &UpDownField::committed, this, [this](const QString& text) {
    GeneralTab tab = Tab();
    textDccAddress_->SetText(ToQt(CommitTextGenDCCAddress(tab, FromQt(text))));
    ShowOutputRangeLabels();
  });
  connect(textDccAddress_, &UpDownField::stepped, this, [this](bool up) {
    GeneralTab tab = Tab();
    textDccAddress_->SetText(ToQt(UpDownGenDCCAddress(tab, up)));
    ShowOutputRangeLabels();
  });
  connect(textXDccAddress_, &UpDownField::committed, this, [this](const QString& text) {
    GeneralTab tab = Tab();
    textXDccAddress_->SetText(ToQt(CommitTextGenXDCCAddress(tab, FromQt(text))));
    ShowOutputRangeLabels();
  });
  connect(textXDccAddress_, &UpDownField::stepped, this, [this](bool up) {
    GeneralTab tab = Tab();
    textXDccAddress_->SetText(ToQt(UpDownGenXDCCAddress(tab, up)));
    ShowOutputRangeLabels();
  });

  auto* retention = Group("Packet Retention", "FrameGenDCC_PRP");
  auto* retentionRows = new QGridLayout(retention);
  std::vector<std::pair<int, const char*>> retentionOptions;
  for (int i = 0; i < static_cast<int>(kPacketRetentionCaptions.size()); ++i)
    retentionOptions.emplace_back(i, kPacketRetentionCaptions[i]);
  packetRetention_ = Options(this, "OptGenDCC_PRP", retentionRows, retentionOptions, 2);
  connect(packetRetention_, &QButtonGroup::idClicked, this, [this](int id) { ctx_.General.OptGenDCC_PRP = id; });
  layout->addWidget(retention);

  checkBpsi_ = new QCheckBox("Basic Packet State Invert");
  checkBpsi_->setObjectName("ChkGenDCC_BPSI");
  connect(checkBpsi_, &QCheckBox::clicked, this, [this](bool checked) { ctx_.General.ChkGenDCC_BPSI = checked; });
  checkAllow0_ = new QCheckBox("Allow Address 0");
  checkAllow0_->setObjectName("ChkGenDCCAllow0");
  connect(checkAllow0_, &QCheckBox::clicked, this, [this](bool checked) {
    GeneralTab tab = Tab();
    SetChkGenDCCAllow0(tab, checked);
    ShowGeneralSettings();
  });
  layout->addWidget(checkBpsi_);
  layout->addWidget(checkAllow0_);
  layout->addStretch(1);
  layout->addLayout(ButtonRow(Button("Read Settings", "CommandGenDCCRead", &GeneralTabWidget::ReadDccGroup),
                              Button("Write Settings", "CommandGenDCCWrite", &GeneralTabWidget::WriteDccGroup)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildAddressGroup() {
  QGroupBox* box = Group("Serial Addressing", "FrameGenAddr");
  auto* layout = new QVBoxLayout(box);
  checkForceXA_ = new QCheckBox("Enforced eXtended Address");
  checkForceXA_->setObjectName("CheckGenForceXA");
  checkNative_ = new QCheckBox("Native Brixo Mode");
  checkNative_->setObjectName("CheckGenBrixoNative");
  checkTamlo_ = new QCheckBox("Tamlo Flex-Addresss");
  checkTamlo_->setObjectName("CheckGenTamloaddr");
  for (QCheckBox* check : {checkForceXA_, checkNative_, checkTamlo_}) layout->addWidget(check);
  connect(checkForceXA_, &QCheckBox::clicked, this, [this](bool checked) {
    GeneralTab tab = Tab();
    SetCheckGenForceXA(tab, checked);
    ShowAddressing();
  });
  connect(checkNative_, &QCheckBox::clicked, this, [this](bool checked) {
    GeneralTab tab = Tab();
    SetCheckGenBrixoNative(tab, checked);
    ShowAddressing();
  });
  connect(checkTamlo_, &QCheckBox::clicked, this, [this](bool checked) {
    GeneralTab tab = Tab();
    SetCheckGenTamloaddr(tab, checked);
    ShowAddressing();
  });

  auto* fields = new QGridLayout;
  labelTamloStart_ = new QLabel("Start");
  labelTamloStart_->setObjectName("LabelGenXA_4");
  textTamloaddr_ = new UpDownField;
  textTamloaddr_->setObjectName("TextGenTamloaddr");
  labelModuleX_ = new QLabel("Module eXtended Address");
  labelModuleX_->setObjectName("LabelGenXA_1");
  textGenXaddr_ = new UpDownField;
  textGenXaddr_->setObjectName("TextGenXaddr");
  fields->addWidget(labelTamloStart_, 0, 0);
  fields->addWidget(textTamloaddr_, 0, 1);
  fields->addWidget(labelModuleX_, 1, 0);
  fields->addWidget(textGenXaddr_, 1, 1);
  fields->setColumnStretch(1, 1);
  layout->addLayout(fields);
  connect(textTamloaddr_, &UpDownField::committed, this, [this](const QString& text) {
    GeneralTab tab = Tab();
    textTamloaddr_->SetText(ToQt(CommitTextGenTamloaddr(tab, FromQt(text))));
  });
  connect(textTamloaddr_, &UpDownField::stepped, this, [this](bool up) {
    GeneralTab tab = Tab();
    textTamloaddr_->SetText(ToQt(UpDownGenTamloaddr(tab, up)));
  });
  connect(textGenXaddr_, &UpDownField::committed, this, [this](const QString& text) {
    GeneralTab tab = Tab();
    textGenXaddr_->SetText(ToQt(CommitTextGenXaddr(tab, FromQt(text))));
  });
  connect(textGenXaddr_, &UpDownField::stepped, this, [this](bool up) {
    GeneralTab tab = Tab();
    textGenXaddr_->SetText(ToQt(UpDownGenXaddr(tab, up)));
  });

  labelGroupMask_ = new QLabel("eXt Group Mask");
  labelGroupMask_->setObjectName("LabelGenXA_2");
  layout->addWidget(labelGroupMask_);
  auto* mask = new QGridLayout;
  mask->setHorizontalSpacing(2);
  for (int k = 0; k < 16; ++k) {
    groupNumbers_[k] = new QLabel(QString::number(k));
    groupNumbers_[k]->setObjectName(Indexed("LabelGenXGMlbl", k));
    groupNumbers_[k]->setAlignment(Qt::AlignCenter);
    groupMask_[k] = new QCheckBox;
    groupMask_[k]->setObjectName(Indexed("CheckGenXGM", k));
    groupMask_[k]->setToolTip(QString("Group %1").arg(k));
    // Two rows of eight keep the group narrow enough for small screens.
    const int row = (k / 8) * 2;
    mask->addWidget(groupNumbers_[k], row, k % 8, Qt::AlignHCenter);
    mask->addWidget(groupMask_[k], row + 1, k % 8, Qt::AlignHCenter);
    connect(groupMask_[k], &QCheckBox::clicked, this,
            [this, k](bool checked) { ctx_.General.CheckGenXGM[k] = checked; });
  }
  layout->addLayout(mask);
  layout->addStretch(1);
  layout->addLayout(ButtonRow(Button("Read Settings", "CommandGenAddrRead", &GeneralTabWidget::ReadAddressGroup),
                              Button("Write Settings", "CommandGenAddrWrite", &GeneralTabWidget::WriteAddressGroup)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildHardwareGroup() {
  QGroupBox* box = Group("Hardware Configuration", "FrameGenHWC");
  auto* layout = new QVBoxLayout(box);
  // One row per output group: its pins, then its two driver boxes.
  hwcPinRow_ = new QWidget;
  hwcPinRow_->setObjectName("LabelGenHWCPin");
  auto* grid = new QGridLayout(hwcPinRow_);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 5; ++i) {
    hwcPinLabels_[i] = new QLabel;
    hwcPinLabels_[i]->setObjectName(Indexed("LabelGenHWCPin", i));
    grid->addWidget(hwcPinLabels_[i], i, 0);
  }
  for (int g = 0; g < 4; ++g) {
    sink_[g] = new QCheckBox("Sink Driver");
    sink_[g]->setObjectName(Indexed("ChkGenHWCSink", g));
    source_[g] = new QCheckBox("Source Driver");
    source_[g]->setObjectName(Indexed("ChkGenHWCSource", g));
    grid->addWidget(sink_[g], g + 1, 1);
    grid->addWidget(source_[g], g + 1, 2);
    connect(sink_[g], &QCheckBox::clicked, this, [this, g](bool checked) {
      GeneralTab tab = Tab();
      SetChkGenHWCSink(tab, g, checked);
    });
    connect(source_[g], &QCheckBox::clicked, this, [this, g](bool checked) {
      GeneralTab tab = Tab();
      SetChkGenHWCSource(tab, g, checked);
    });
  }
  grid->setColumnStretch(2, 1);
  layout->addWidget(hwcPinRow_);
  layout->addLayout(ButtonRow(Button("Read Config", "CommandGenHWCRead", &GeneralTabWidget::ReadHardwareGroup),
                              Button("Write Config", "CommandGenHWCWrite", &GeneralTabWidget::WriteHardwareGroup)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildLedBoxes(const QString& title, const char* name, std::array<LedCheckBox*, 8>& boxes,
                                           const std::array<const char*, 8>& captions, bool green) {
  QGroupBox* box = Group(title, name);
  // A flat frame: two framed columns inside "LED Control" would cost the tab its height.
  box->setFlat(true);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 4, 0, 0);
  layout->setSpacing(0);
  for (int k = 0; k < 8; ++k) {
    boxes[k] = new LedCheckBox(captions[k]);
    boxes[k]->setObjectName(Indexed(green ? "CheckLCGreen" : "CheckLCOrange", k));
    layout->addWidget(boxes[k]);
    connect(boxes[k], &QCheckBox::clicked, this, [this, k, green, &boxes] {
      if (green)
        ClickCheckLCGreen(ctx_.General, k, boxes[k]->Value());
      else
        ClickCheckLCOrange(ctx_.General, k, boxes[k]->Value());
      ShowGeneralSettings();
    });
  }
  return box;
}

QGroupBox* GeneralTabWidget::BuildLedGroup() {
  QGroupBox* box = Group("LED Control", "FrameLC");
  auto* leds = new QHBoxLayout;
  leds->addWidget(BuildLedBoxes("Green LED", "FrameLCGreen", green_, kGreenLedCaptions, true));
  leds->addWidget(BuildLedBoxes("Orange LED", "FrameLCOrange", orange_, kOrangeLedCaptions, false));
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(leds);
  layout->addStretch(1);
  layout->addLayout(ButtonRow(Button("Read Settings", "CommandLCRead", &GeneralTabWidget::ReadLedGroup),
                              Button("Write Settings", "CommandLCWrite", &GeneralTabWidget::WriteLedGroup)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildSerialGroup() {
  QGroupBox* box = Group("Serial Port", "FrameGenSerial");
  auto* layout = new QVBoxLayout(box);
  checkSerialEnable_ = new QCheckBox("Enable");
  checkSerialEnable_->setObjectName("CheckGenSerialEnable");
  connect(checkSerialEnable_, &QCheckBox::clicked, this,
          [this](bool checked) { ctx_.General.CheckGenSerialEnable = checked; });
  layout->addWidget(checkSerialEnable_);

  comboBaud_ = new QComboBox;
  comboBaud_->setObjectName("ComboGenBaud");
  for (const char* rate : kBaudRateTexts) comboBaud_->addItem(rate);
  connect(comboBaud_, &QComboBox::activated, this, [this](int index) { ctx_.General.ComboGenBaud = index; });
  auto* baudRow = new QHBoxLayout;
  baudRow->addWidget(new QLabel("Baudrate"));
  baudRow->addWidget(comboBaud_, 1);
  layout->addLayout(baudRow);

  // Each format row is its own exclusive group of options.
  auto* formats = new QGridLayout;
  const auto formatRow = [this, formats](int row, const char* caption, const char* name,
                                         const std::vector<std::pair<int, const char*>>& options) {
    formats->addWidget(new QLabel(caption), row, 0);
    auto* buttons = new QHBoxLayout;
    QButtonGroup* group = Options(this, name, buttons, options);
    buttons->addStretch(1);
    formats->addLayout(buttons, row, 1);
    return group;
  };
  dataBits_ = formatRow(0, "Data bits", "OptionGenSerialDatabits", {{0, "7"}, {1, "8"}});
  stopBits_ = formatRow(1, "Stop bits", "OptionGenSerialStop", {{0, "1"}, {1, "2"}});
  parity_ = formatRow(2, "Parity", "OptionGenSerialParity",
                      {{0, kParityCaptions[0]}, {2, kParityCaptions[2]}, {3, kParityCaptions[3]}});
  formats->setColumnStretch(1, 1);
  layout->addLayout(formats);
  connect(dataBits_, &QButtonGroup::idClicked, this, [this](int id) { ctx_.General.OptionGenSerialDatabits = id; });
  connect(stopBits_, &QButtonGroup::idClicked, this, [this](int id) { ctx_.General.OptionGenSerialStop = id; });
  connect(parity_, &QButtonGroup::idClicked, this, [this](int id) { ctx_.General.OptionGenSerialParity = id; });

  layout->addStretch(1);
  layout->addLayout(ButtonRow(Button("Read Settings", "CommandGenSerialRead", &GeneralTabWidget::ReadSerialGroup),
                              Button("Write Settings", "CommandGenSerialWrite", &GeneralTabWidget::WriteSerialGroup)));
  return box;
}

QGroupBox* GeneralTabWidget::BuildEraseGroup() {
  QGroupBox* box = Group("Configuration Memory", "FrameGenErase");
  auto* layout = new QVBoxLayout(box);
  layout->addLayout(ButtonRow(Button("Erase Flash", "CommandGenEraseFlash", &GeneralTabWidget::Erase), nullptr));
  return box;
}

}  // namespace brixo
