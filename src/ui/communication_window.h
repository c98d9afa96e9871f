#pragma once
// The "Communication" monitor: every frame logged since start-up, whether or not the
// window was open at the time. Closing it only hides it.
#include <QWidget>
#include <functional>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace brixo {

class CommunicationLog;

class CommunicationWindow : public QWidget {
  Q_OBJECT
 public:
  // Takes over the log's append and clear notifications.
  CommunicationWindow(CommunicationLog& log, QWidget* parent = nullptr);
  ~CommunicationWindow() override;

  QPlainTextEdit* txtQuendalCommunication() const { return text_; }
  QPushButton* cmdClear() const { return clear_; }

  // Shows the window (non-modal) and brings it to the front.
  void ShowMonitor();

 signals:
  // A line was added to the text shown.
  void lineAppended();

 private:
  void Append(const std::string& appended);
  void Reload();

  CommunicationLog& log_;
  QPlainTextEdit* text_;
  QPushButton* clear_;
  std::function<void(const std::string&)> previousAppend_;
  std::function<void()> previousClear_;
};

}  // namespace brixo
