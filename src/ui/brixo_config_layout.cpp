// The controls of the main window outside the tabs, their captions and their arrangement.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "ui/brixo_config_window.h"
#include "ui/input_blocker.h"
#include "ui/clickable_label.h"
#include "ui/release_label.h"
#include "ui/device_config_tab.h"
#include "ui/event_control_tab.h"
#include "ui/general_tab.h"
#include "ui/modifier_button.h"
#include "ui/test_tab.h"
#include "ui/up_down_field.h"

namespace brixo {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QGroupBox* Frame(const QString& title, const char* name) { return Named(new QGroupBox(title), name); }

}  // namespace

QWidget* BrixoConfig::BuildPortGroup() {
  QGroupBox* box = Frame("Serial Port", "FramePort");
  labelPort_ = Named(new ClickableLabel("Port:", nullptr, ClickableLabel::Acts::OnDoubleClick), "LabelPort");
  labelPort_->setToolTip("Double-click to show or hide the bit rate");
  comboPort_ = Named(new QComboBox, "ComboPort");
  comboPort_->setMinimumContentsLength(12);
  comboPort_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  refresh_ = Named(new QPushButton("Refresh"), "cmdRefreshComm");
  auto* portRow = new QHBoxLayout;
  portRow->addWidget(labelPort_);
  portRow->addWidget(comboPort_, 1);
  portRow->addWidget(refresh_);

  // One row with its caption in front: a titled frame would make the top row taller.
  frameBitrate_ = Named(new QWidget, "FrameBitrate");
  auto* rates = new QHBoxLayout(frameBitrate_);
  rates->setContentsMargins(0, 0, 0, 0);
  rates->addWidget(Named(new QLabel("Bitrate"), "LabelBitrate"));
  optionBitRate_ = new QButtonGroup(this);
  optionBitRate_->setObjectName("OptionBitRate");
  const char* const captions[] = {"  9k6", "19k2", "38k4"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(captions[i]);
    option->setObjectName(QString("OptionBitRate_%1").arg(i));
    optionBitRate_->addButton(option, i);
    rates->addWidget(option);
  }
  rates->addStretch(1);
  // Showing the bit rates must not make the window any larger.
  QSizePolicy policy = frameBitrate_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  frameBitrate_->setSizePolicy(policy);

  // "Bidirectional Comm." is a setting of the line; it sits under the port so that the
  // groups side by side stay narrow enough for a 1024-pixel screen.
  checkBrixoBD_ = Named(new QCheckBox("Bidirectional Comm."), "CheckBrixoBD");

  auto* layout = new QVBoxLayout(box);
  layout->addLayout(portRow);
  layout->addWidget(checkBrixoBD_);
  layout->addWidget(frameBitrate_);
  layout->addStretch(1);
  return box;
}

QWidget* BrixoConfig::BuildAddressGroup() {
  QGroupBox* box = Frame("Addressing", "FrameAddress");
  labelAddress_ = Named(new QLabel("Module Address"), "LabelAddress");
  textAddress_ = Named(new UpDownField, "TextAddress");
  checkXaddress_ = Named(new QCheckBox("Use eXtended Addr"), "CheckXaddress");
  labelXaddress_ = Named(new QLabel("eXtended address"), "LabelXaddress");
  txtXaddr_ = Named(new UpDownField, "txtXaddr");
  for (UpDownField* field : {textAddress_, txtXaddr_}) field->setMaximumWidth(70);
  scanLine_ = Named(new QPushButton(QString::fromUtf8("Scan line\u2026")), "cmdScanLine");
  scanLine_->setToolTip("Find every controller on the line");

  auto* grid = new QGridLayout(box);
  grid->addWidget(labelAddress_, 0, 0);
  grid->addWidget(textAddress_, 0, 1);
  grid->addWidget(scanLine_, 0, 2);
  grid->addWidget(checkXaddress_, 1, 0, 1, 2);
  grid->addWidget(labelXaddress_, 2, 0);
  grid->addWidget(txtXaddr_, 2, 1);
  grid->setRowStretch(3, 1);
  // The extended address appears and disappears; the group keeps its height.
  for (QWidget* widget : std::initializer_list<QWidget*>{labelXaddress_, txtXaddr_}) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
  }
  return box;
}

QWidget* BrixoConfig::BuildOptionsGroup() {
  QGroupBox* box = Frame("Link", "FrameLink");
  checkQuendal_ = Named(new QCheckBox("Use Quendal Tunneling"), "CheckQuendal");
  cmdSetTM_ = Named(new QPushButton("Activate Transparent Mode"), "cmdSetTM");
  cmdSetTM_->setToolTip("Switch Kesta or Sarpa in Transparant Mode for Brixo Configuration");
  checkKLnumber_ = Named(new QCheckBox("Start numbering at 1"), "CheckKLnumber");
  QSizePolicy policy = cmdSetTM_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  cmdSetTM_->setSizePolicy(policy);

  // One column of three rows, as high as the neighbouring groups.
  auto* column = new QVBoxLayout(box);
  column->addWidget(checkQuendal_);
  column->addWidget(cmdSetTM_);
  column->addWidget(checkKLnumber_);
  column->addStretch(1);
  return box;
}

QWidget* BrixoConfig::BuildTransferGroup() {
  QGroupBox* box = Frame("Brixo", "FrameTransfer");
  readAll_ = Named(new QPushButton("Read All"), "CommandReadAll");
  writeAll_ = Named(new QPushButton("Write All"), "CommandWriteAll");
  verifyAll_ = Named(new QPushButton("Verify All"), "CommandVerifyAll");
  compare_ = Named(new QPushButton("Compare"), "CommandCompare");
  compare_->setToolTip("List what differs between the editor and the controller; changes neither");
  save_ = Named(new ModifierButton("Save File"), "CommandSave");
  save_->setToolTip("Shift+Save File to save compact");
  load_ = Named(new QPushButton("Load File"), "CommandLoad");
  load_->setToolTip("Read from file");

  auto* grid = new QGridLayout(box);
  grid->addWidget(readAll_, 0, 0);
  grid->addWidget(writeAll_, 1, 0);
  grid->addWidget(verifyAll_, 2, 0);
  grid->addWidget(save_, 0, 1);
  grid->addWidget(load_, 1, 1);
  grid->addWidget(compare_, 2, 1);
  grid->setRowStretch(3, 1);
  return box;
}

QWidget* BrixoConfig::BuildMixedBar() {
  mixedBar_ = Named(new QLabel, "LabelMixedController");
  mixedBar_->setWordWrap(true);
  mixedBar_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  mixedBar_->setStyleSheet(
      "#LabelMixedController { background: #fde2e0; border: 1px solid #d9534f; border-radius: 3px; padding: 2px 6px; }");
  mixedBar_->setToolTip("Stays until Write All or Verify All gets through for this controller");
  mixedBar_->setVisible(false);
  return mixedBar_;
}

void BrixoConfig::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar");

  busyFrame_ = Named(new QWidget, "FrameAction");
  busyFrame_->setAttribute(Qt::WA_StyledBackground);
  busyFrame_->setStyleSheet(
      "#FrameAction { background: #fff3c4; border: 1px solid #d9b44a; border-radius: 3px; }"
      "#LabelAction { font-weight: bold; }");
  auto* busy = new QHBoxLayout(busyFrame_);
  busy->setContentsMargins(6, 1, 6, 1);
  labelAction_ = Named(new QLabel(kLabelActionCaption), "LabelAction");
  labelProgress_ = Named(new QLabel, "LabelProgress");
  busy->addWidget(labelAction_);
  busy->addWidget(labelProgress_, 1);
  stop_ = Named(new QPushButton("Stop"), "CommandStop");
  stop_->setToolTip("Stop after the exchange in progress (Escape)");
  stop_->setFocusPolicy(Qt::NoFocus);
  InputBlocker::AcceptClicksWhileBusy(stop_);
  busy->addWidget(stop_);

  labelResult_ = Named(new QLabel, "LabelLastResult");
  labelResult_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  labelPortState_ = Named(new QLabel, "LabelPortState");
  labelPortState_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  release_ = Named(new ReleaseLabel(kReleaseCaption), "Release");
  release_->setToolTip(
      "Double-click: communication monitor\n"
      "Right-click: expert mode (also in Tools > Expert Mode)");

  bar->addWidget(busyFrame_, 1);
  bar->addWidget(labelResult_, 1);
  labelChanges_ = Named(new QLabel, "LabelChanges");
  labelChanges_->setToolTip("Fields changed since the file was last loaded or saved, or since the last Read All");
  bar->addPermanentWidget(labelChanges_);
  bar->addPermanentWidget(labelPortState_);
  bar->addPermanentWidget(release_);
}

namespace {

// The Event Control and Test tabs scroll, like the others, when the window is smaller
// than they are.
QScrollArea* Scrolling(QWidget* page, const char* name) {
  auto* scroll = new QScrollArea;
  scroll->setObjectName(name);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(page);
  return scroll;
}

}  // namespace

void BrixoConfig::BuildTabs() {
  tabs_ = Named(new QTabWidget, "SSTab_Main");
  generalTab_ = new GeneralTabWidget(app_.Transfer());
  eventTab_ = new EventControlTab;
  deviceTab_ = new DeviceConfigTab;
  testTab_ = new TestTab;
  tabs_->addTab(generalTab_, "General");
  tabs_->addTab(Scrolling(eventTab_, "EventControlScroll"), "Brixo Event Control");
  tabs_->addTab(deviceTab_, "Brixo Device Configuration");
  tabs_->addTab(Scrolling(testTab_, "TestScroll"), "Test");
  eventTab_->Bind(app_);
  deviceTab_->Bind(app_);
  testTab_->Bind(app_);
}

}  // namespace brixo
