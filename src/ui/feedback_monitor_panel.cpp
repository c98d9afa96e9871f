#include "ui/feedback_monitor_panel.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/feedback_monitor.h"
#include "link/bounded_text.h"
#include "ui/line_view.h"

namespace brixo {

FeedbackMonitorPanel::FeedbackMonitorPanel(FeedbackMonitor& monitor, QWidget* parent)
    : QGroupBox("Feedback Monitor", parent),
      monitor_(monitor),
      textFBM_(new QPlainTextEdit),
      timer2_(new QTimer(this)) {
  setObjectName("FrameFBM");
  textFBM_->setObjectName("textFBM");
  textFBM_->setReadOnly(true);
  // An hour of monitoring must not fill the memory.
  textFBM_->setMaximumBlockCount(static_cast<int>(kViewHistoryLines));
  textFBM_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textFBM_->setMinimumHeight(textFBM_->fontMetrics().lineSpacing() * 8);

  timer2_->setObjectName("Timer2");
  timer2_->setInterval(FeedbackMonitor::kTickMs);
  connect(timer2_, &QTimer::timeout, this, &FeedbackMonitorPanel::Tick);

  auto* buttons = new QHBoxLayout;
  const char* captions[] = {"Clear", "Monitor", "Stop"};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(captions[i]);
    button->setObjectName(QString("CommandFBM_%1").arg(i));
    buttons->addWidget(button);
    if (i == 0) {
      connect(button, &QPushButton::clicked, this, [this] {
        monitor_.Clear();
        Sync();
      });
    } else if (i == 1) {
      monitorButton_ = button;
      button->installEventFilter(this);
      connect(button, &QPushButton::clicked, this, &FeedbackMonitorPanel::StartMonitor);
    }
  }
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(textFBM_, 1);
  Sync();
}

FeedbackMonitorPanel::~FeedbackMonitorPanel() {
  // The button's last focus loss happens while it is torn down; nothing is left to stop.
  monitorButton_->removeEventFilter(this);
}

// Another control of the window taking the focus stops the monitor. The window losing
// its activation (to the communication monitor, say, to watch the polls) or a menu opening
// does not: the button gets the focus back when the window is active again.
bool FeedbackMonitorPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == monitorButton_ && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) StopMonitor();
  }
  return QGroupBox::eventFilter(watched, event);
}

void FeedbackMonitorPanel::Sync() {
  const std::string& text = monitor_.Text();
  const uint64_t appended = monitor_.Appended();
  if (appended < shown_ || appended - shown_ > text.size()) {  // cleared, or more came than is kept
    ShowLines(*textFBM_, text);
  } else if (appended > shown_) {
    AppendLines(*textFBM_, text.substr(text.size() - static_cast<size_t>(appended - shown_)));
  }
  shown_ = appended;
  textFBM_->moveCursor(QTextCursor::End);
}

void FeedbackMonitorPanel::StartMonitor() {
  if (monitor_.Monitor()) timer2_->start();
  Sync();
}

void FeedbackMonitorPanel::StopMonitor() {
  timer2_->stop();
  monitor_.Stop();
  Sync();
}

void FeedbackMonitorPanel::Tick() {
  monitor_.Tick();
  if (!monitor_.Running()) timer2_->stop();
  Sync();
}

}  // namespace brixo
