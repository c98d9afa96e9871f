#include "ui/communication_window.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "link/communication_log.h"
#include "ui/line_view.h"

namespace brixo {

CommunicationWindow::CommunicationWindow(CommunicationLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), text_(new QPlainTextEdit(this)), clear_(new QPushButton("Clear", this)) {
  setObjectName("frmQuendalComm");
  setWindowTitle("Communication");
  text_->setObjectName("txtQuendalCommunication");
  clear_->setObjectName("cmdClear");
  text_->setReadOnly(true);
  // The log keeps its newest lines only; so does its view, whose lines cost far more.
  text_->setMaximumBlockCount(static_cast<int>(kViewHistoryLines));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(clear_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addLayout(buttons);
  resize(560, 420);

  connect(clear_, &QPushButton::clicked, this, [this] { log_.Clear(); });
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

void CommunicationWindow::Append(const std::string& appended) {
  // Follow the newest line only when the user has not scrolled back to read older ones.
  QScrollBar* bar = text_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  AppendLines(*text_, appended);
  if (atEnd) bar->setValue(bar->maximum());
  emit lineAppended();
}

void CommunicationWindow::Reload() {
  ShowLines(*text_, log_.Text());
  text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

}  // namespace brixo
