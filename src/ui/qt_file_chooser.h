#pragma once
// Open and save dialogs for the data and definitions files.
#include <QMap>
#include <QString>
#include <string>

#include "files/file_chooser.h"

class QWidget;

namespace brixo {

// "Brixo Config Data|*.dat" becomes "Brixo Config Data (*.dat)"; further "Name|pattern"
// pairs become further filters ("A|*.a|B|*.b" → "A (*.a);;B (*.b)"). A pattern of several
// parts ("*.dat;*.txt") is listed blank-separated, as Qt expects.
QString QtFileFilter(const std::string& filter);

class QtFileChooser final : public FileChooser {
 public:
  explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::string ChooseOpenFile(const std::string& filter, const std::string& presetName) override;
  std::string ChooseSaveFile(const std::string& filter, const std::string& presetName) override;

  // The folder each kind of file was last chosen in, by the kind's caption ("Brixo Config
  // Data"): a dialog opens where the user went last for that kind.
  const QMap<QString, QString>& Folders() const { return folders_; }
  void SetFolders(QMap<QString, QString> folders) { folders_ = std::move(folders); }

 private:
  QWidget* parent_;
  QMap<QString, QString> folders_;
};

}  // namespace brixo
