#include "ui/scan_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/found_controller_address.h"
#include "ui/core_text.h"

namespace brixo {

namespace {

constexpr int kExtendedAddressCount = 96;
constexpr int kLongestMarginMs = 2000;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// The line's bit rate, from the line settings text ("19200,o,8,1").
int BitRateOf(const std::string& settings) {
  const int rate = std::atoi(settings.c_str());
  return rate > 0 ? rate : 19200;
}

}  // namespace

ScanDialog::ScanDialog(AppState& app, QWidget* parent) : QDialog(parent), app_(app), timer_(new QTimer(this)) {
  setObjectName("dlgScanLine");
  setWindowTitle("Scan Line");
  const int offset = app_.Model().NumberingOffset;

  labelRange_ = Named(new QLabel, "LabelScanRange");
  checkXaddr_ = Named(new QCheckBox("eXtended addresses from"), "CheckScanXaddr");
  xaddrFirst_ = Named(new QSpinBox, "UpDownScanXaddrFirst");
  xaddrLast_ = Named(new QSpinBox, "UpDownScanXaddrLast");
  for (QSpinBox* box : {xaddrFirst_, xaddrLast_}) box->setRange(offset, offset + kExtendedAddressCount - 1);
  xaddrFirst_->setValue(offset);
  xaddrLast_->setValue(offset);
  probeMs_ = Named(new QSpinBox, "UpDownScanProbeMs");
  probeMs_->setRange(0, kLongestMarginMs);
  probeMs_->setValue(static_cast<int>(kDefaultProbeMarginSeconds * 1000));
  probeMs_->setSuffix(" ms");
  probeMs_->setToolTip("How long a controller may take beyond the time its request and reply need on the line");

  start_ = Named(new QPushButton("Scan"), "cmdScanStart");
  start_->setDefault(true);
  stop_ = Named(new QPushButton("Stop"), "cmdScanStop");
  progress_ = Named(new QProgressBar, "ProgressScan");
  activity_ = Named(new QLabel, "LabelScanActivity");
  activity_->setWordWrap(true);

  list_ = Named(new QTreeWidget, "ListScanFound");
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({"Module", "eXtended Addr", "Firmware", "ID String", "Answer"});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(true);
  use_ = Named(new QPushButton("Use Address"), "cmdScanUse");
  use_->setToolTip("Set \"Module Address\" (and the eXtended address) to the chosen controller");
  close_ = Named(new QPushButton("Close"), "cmdScanClose");

  auto* settings = new QGridLayout;
  settings->addWidget(labelRange_, 0, 0, 1, 4);
  settings->addWidget(checkXaddr_, 1, 0);
  settings->addWidget(xaddrFirst_, 1, 1);
  settings->addWidget(new QLabel("to"), 1, 2);
  settings->addWidget(xaddrLast_, 1, 3);
  settings->addWidget(new QLabel("Reply margin"), 2, 0);
  settings->addWidget(probeMs_, 2, 1);
  settings->setColumnStretch(4, 1);

  auto* run = new QHBoxLayout;
  run->addWidget(start_);
  run->addWidget(stop_);
  run->addWidget(progress_, 1);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(use_);
  bottom->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settings);
  layout->addLayout(run);
  layout->addWidget(activity_);
  layout->addWidget(list_, 1);
  layout->addLayout(bottom);

  timer_->setInterval(0);
  connect(timer_, &QTimer::timeout, this, &ScanDialog::StepScan);
  connect(start_, &QPushButton::clicked, this, &ScanDialog::StartScan);
  connect(stop_, &QPushButton::clicked, this, &ScanDialog::StopScan);
  connect(use_, &QPushButton::clicked, this, &ScanDialog::UseSelected);
  connect(close_, &QPushButton::clicked, this, &ScanDialog::reject);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &ScanDialog::UseSelected);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &ScanDialog::ShowState);
  connect(checkXaddr_, &QCheckBox::toggled, this, &ScanDialog::ShowState);

  resize(560, 420);
  ShowState();
}

ScanDialog::~ScanDialog() = default;

void ScanDialog::StartScan() {
  if (Scanning()) return;
  const int offset = app_.Model().NumberingOffset;
  ScanSettings settings;
  settings.BitRate = BitRateOf(app_.Ports().LineSettings());
  settings.MarginSeconds = probeMs_->value() / 1000.0;
  if (checkXaddr_->isChecked()) {
    const int first = xaddrFirst_->value() - offset;
    const int last = xaddrLast_->value() - offset;
    settings.ExtendedRange = ScanSettings::Range{std::min(first, last), std::max(first, last)};
  }
  scan_ = std::make_unique<LineScan>(app_.Link(), settings);
  listed_.clear();
  ShowFound();
  ShowState();
  timer_->start();
}

void ScanDialog::StopScan() {
  if (!scan_) return;
  scan_->Stop();
  timer_->stop();
  ShowState();
}

void ScanDialog::StepScan() {
  if (!Scanning()) {
    timer_->stop();
    return;
  }
  scan_->Step();
  if (scan_->Finished()) timer_->stop();
  ShowFound();
  ShowState();
}

void ScanDialog::UseSelected() {
  const int row = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
  if (Scanning() || row < 0 || row >= static_cast<int>(listed_.size())) return;
  const FoundController& chosen = listed_[static_cast<size_t>(row)];
  if (AddressFoundController(app_, chosen.Module, chosen.Extended)) accept();
}

void ScanDialog::reject() {
  StopScan();
  QDialog::reject();
}

void ScanDialog::ShowFound() {
  const std::vector<FoundController> found = scan_ ? scan_->Found() : std::vector<FoundController>{};
  if (found.size() == listed_.size() && std::equal(found.begin(), found.end(), listed_.begin(),
                                                   [](const FoundController& a, const FoundController& b) {
                                                     return a.Module == b.Module && a.Extended == b.Extended &&
                                                            a.IdString == b.IdString && a.Late == b.Late;
                                                   }))
    return;
  const int offset = app_.Model().NumberingOffset;
  const int selected = list_->currentItem() ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
  listed_ = found;
  list_->clear();
  for (const FoundController& f : listed_) {
    auto* item = new QTreeWidgetItem(list_);
    item->setText(0, QString::number(f.Module + offset));
    item->setText(1, f.Extended ? QString::number(*f.Extended + offset) : QString());
    item->setText(2, f.Version.empty() ? QString("unknown") : ToQt(f.Version));
    item->setText(3, f.IdString ? ToQt(*f.IdString) : QString("(not read)"));
    item->setText(4, f.Late ? "answered late" : "in time");
  }
  if (selected >= 0 && selected < list_->topLevelItemCount()) list_->setCurrentItem(list_->topLevelItem(selected));
}

QString ScanDialog::ActivityText() const {
  if (!scan_) return "Press \"Scan\" to ask every address for its firmware version.";
  const int count = static_cast<int>(listed_.size());
  const QString found = count == 1 ? "1 controller found" : QString("%1 controllers found").arg(count);
  if (scan_->Finished()) {
    QString text;
    if (scan_->LinkFailed()) text = "The scan ended: the link failed. " + found + ".";
    else if (scan_->Stopped()) text = "Stopped. " + found + ".";
    else text = count == 0 && scan_->Problems().empty() ? QString("No controller answered.") : found + ".";
    // What answered but could not be used: the line needs a look.
    for (const ScanProblem& problem : scan_->Problems())
      text += "\n" + ToQt(ScanProblemText(problem, app_.Model().NumberingOffset));
    return text;
  }
  const int offset = app_.Model().NumberingOffset;
  if (const std::optional<ScanProbe> next = scan_->NextProbe()) {
    QString text = QString("Probing module %1").arg(next->Module + offset);
    if (next->Extended) text += QString(", eXtended address %1").arg(*next->Extended + offset);
    return text + " ...";
  }
  return scan_->CurrentPhase() == LineScan::Phase::Listening ? QString("Waiting for late answers ...")
                                                            : QString("Reading identification strings ...");
}

void ScanDialog::ShowState() {
  const int offset = app_.Model().NumberingOffset;
  const int modules = app_.Link().CheckQuendal ? kTunnelledModuleCount : kDirectModuleCount;
  labelRange_->setText(QString("Module addresses %1 to %2 at %3 bit/s")
                           .arg(offset)
                           .arg(offset + modules - 1)
                           .arg(BitRateOf(app_.Ports().LineSettings())));
  const bool scanning = Scanning();
  for (QWidget* w : std::initializer_list<QWidget*>{checkXaddr_, probeMs_, start_}) w->setEnabled(!scanning);
  xaddrFirst_->setEnabled(!scanning && checkXaddr_->isChecked());
  xaddrLast_->setEnabled(!scanning && checkXaddr_->isChecked());
  stop_->setEnabled(scanning);
  use_->setEnabled(!scanning && list_->currentItem() != nullptr);
  const int total = scan_ ? static_cast<int>(scan_->Probes().size()) : 1;
  progress_->setRange(0, std::max(1, total));
  progress_->setValue(scan_ ? (scan_->Finished() ? total : scan_->ProbesDone()) : 0);
  activity_->setText(ActivityText());
}

}  // namespace brixo
