#include "ui/communication_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <deque>

#include "ui/close_on_escape.h"
#include "ui/line_view.h"

namespace brixo {

CommunicationWindow::CommunicationWindow(CommunicationLog& log, QWidget* parent)
    // A tool window of the main window: it stays above it instead of falling behind it at
    // the next click there.
    : QWidget(parent, Qt::Tool),
      log_(log),
      text_(new QPlainTextEdit(this)),
      clear_(new QPushButton("Clear", this)),
      pause_(new QPushButton("Pause", this)),
      save_(new QPushButton("Save...", this)),
      stamps_(new QCheckBox("Time stamps", this)),
      filter_(new QComboBox(this)) {
  setObjectName("frmQuendalComm");
  setWindowTitle("Communication");
  text_->setObjectName("txtQuendalCommunication");
  clear_->setObjectName("cmdClear");
  pause_->setObjectName("cmdPause");
  save_->setObjectName("cmdSaveLog");
  stamps_->setObjectName("chkTimeStamps");
  filter_->setObjectName("cboFilter");
  pause_->setCheckable(true);
  stamps_->setToolTip("Milliseconds since the program started");
  for (int index = 0; index < kMonitorFilterCount; ++index)
    filter_->addItem(MonitorFilterCaption(static_cast<MonitorFilter>(index)));
  text_->setReadOnly(true);
  // The log keeps its newest lines only; so does its view, whose lines cost far more.
  text_->setMaximumBlockCount(static_cast<int>(kViewHistoryLines));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(filter_);
  buttons->addWidget(stamps_);
  buttons->addStretch(1);
  buttons->addWidget(pause_);
  buttons->addWidget(clear_);
  buttons->addWidget(save_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
  resize(560, 420);
  CloseOnEscape(*this);

  connect(clear_, &QPushButton::clicked, this, [this] { log_.Clear(); });
  connect(save_, &QPushButton::clicked, this, &CommunicationWindow::saveRequested);
  // Shown afresh from the log, which kept every line while the view was paused.
  connect(pause_, &QPushButton::toggled, this, [this](bool paused) {
    pause_->setText(paused ? "Resume" : "Pause");
    if (!paused) Reload();
  });
  connect(stamps_, &QCheckBox::toggled, this, &CommunicationWindow::Reload);
  connect(filter_, &QComboBox::currentIndexChanged, this, &CommunicationWindow::Reload);
  // Whoever listened before (a log file, say) keeps hearing every line.
  previousAppend_ = std::move(log_.onAppend);
  previousClear_ = std::move(log_.onClear);
  log_.onAppend = [this](const std::string& appended) {
    if (previousAppend_) previousAppend_(appended);
    Append(appended);
  };
  log_.onClear = [this] {
    if (previousClear_) previousClear_();
    Reload();
  };
  Reload();
}

CommunicationWindow::~CommunicationWindow() {
  log_.onAppend = std::move(previousAppend_);
  log_.onClear = std::move(previousClear_);
}

void CommunicationWindow::ShowMonitor() {
  show();
  raise();
  activateWindow();
}

MonitorView CommunicationWindow::View() const {
  return {static_cast<MonitorFilter>(std::max(0, filter_->currentIndex())), stamps_->isChecked()};
}

void CommunicationWindow::Append(const std::string& appended) {
  if (pause_->isChecked()) return;
  const MonitorView view = View();
  std::string shown = appended;
  if (view.Filter != MonitorFilter::All || view.TimeStamps) {
    // The appended lines are the log's newest, with its newest marks.
    const size_t lines = static_cast<size_t>(std::count(appended.begin(), appended.end(), '\n'));
    const std::deque<LogLineMark>& marks = log_.Marks();
    const std::deque<LogLineMark> newest(marks.end() - static_cast<std::ptrdiff_t>(std::min(lines, marks.size())),
                                         marks.end());
    shown = MonitorText(appended, newest, view);
    if (shown.empty()) return;
  }
  // Follow the newest line only when the user has not scrolled back to read older ones.
  QScrollBar* bar = text_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  AppendLines(*text_, shown);
  if (atEnd) bar->setValue(bar->maximum());
  emit lineAppended();
}

void CommunicationWindow::Reload() {
  ShowLines(*text_, MonitorText(log_, View()));
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

}  // namespace brixo
