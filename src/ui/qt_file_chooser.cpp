#include "ui/qt_file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "ui/core_text.h"

namespace brixo {

namespace {

// File names travel as local 8-bit paths; the core opens them with the C library.
std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString StartPath(const QString& folder, const std::string& presetName) {
  const QString name = QFile::decodeName(QByteArray::fromStdString(presetName));
  if (folder.isEmpty()) return name;
  return name.isEmpty() ? folder : QDir(folder).filePath(name);
}

// The kind of file a filter is for: its first caption.
QString FileKind(const std::string& filter) { return ToQt(filter).section('|', 0, 0).trimmed(); }

}  // namespace

QString QtFileFilter(const std::string& filter) {
  const QStringList parts = ToQt(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    filters << QString("%1 (%2)").arg(parts[i].trimmed(), pattern.trimmed());
  }
  if (filters.isEmpty() && !filter.empty()) filters << ToQt(filter);
  return filters.join(";;");
}

std::string QtFileChooser::ChooseOpenFile(const std::string& filter, const std::string& presetName) {
  const QString path =
      QFileDialog::getOpenFileName(parent_, QString(), StartPath(folders_.value(FileKind(filter)), presetName),
                                   QtFileFilter(filter));
  if (path.isEmpty()) return {};
  folders_[FileKind(filter)] = QFileInfo(path).absolutePath();
  return LocalPath(path);
}

std::string QtFileChooser::ChooseSaveFile(const std::string& filter, const std::string& presetName) {
  QFileDialog dialog(parent_, QString(), StartPath(folders_.value(FileKind(filter)), presetName), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // A name typed without an extension gets the filter's, so that the open dialog lists it;
  // the dialog then also asks before replacing that file.
  const QString pattern = ToQt(filter).section('|', 1, 1).section(';', 0, 0);
  if (pattern.startsWith("*.") && pattern.size() > 2) dialog.setDefaultSuffix(pattern.mid(2));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString path = dialog.selectedFiles().constFirst();
  if (path.isEmpty()) return {};
  folders_[FileKind(filter)] = QFileInfo(path).absolutePath();
  return LocalPath(path);
}

}  // namespace brixo
