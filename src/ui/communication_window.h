#pragma once
// The "Communication" monitor: every frame logged since start-up, whether or not the
// window was open at the time. Closing it only hides it. Its controls change only what it
// shows (time stamps, the filter, pausing); the log itself keeps every line.
#include <QWidget>
#include <functional>
#include <string>

#include "link/communication_log.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace brixo {

class CommunicationWindow : public QWidget {
  Q_OBJECT
 public:
  // Takes over the log's append and clear notifications.
  CommunicationWindow(CommunicationLog& log, QWidget* parent = nullptr);
  ~CommunicationWindow() override;

  QPlainTextEdit* txtQuendalCommunication() const { return text_; }
  QPushButton* cmdClear() const { return clear_; }
  QPushButton* cmdPause() const { return pause_; }
  QPushButton* cmdSaveLog() const { return save_; }
  QCheckBox* chkTimeStamps() const { return stamps_; }
  QComboBox* cboFilter() const { return filter_; }

  // What the view shows of the log, as its controls say.
  MonitorView View() const;

  // Shows the window (non-modal) and brings it to the front.
  void ShowMonitor();

 signals:
  // A line was added to the text shown.
  void lineAppended();
  // "Save...": the owner asks for a file and writes the lines as shown.
  void saveRequested();

 private:
  void Append(const std::string& appended);
  void Reload();

  CommunicationLog& log_;
  QPlainTextEdit* text_;
  QPushButton* clear_;
  QPushButton* pause_;
  QPushButton* save_;
  QCheckBox* stamps_;
  QComboBox* filter_;
  std::function<void(const std::string&)> previousAppend_;
  std::function<void()> previousClear_;
};

}  // namespace brixo
