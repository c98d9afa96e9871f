#include "ui/window_settings.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "files/file_io.h"
#include "link/network_address.h"
#include "ui/brixo_config_window.h"
#include "ui/qt_file_chooser.h"
#include "ui/window_placement.h"

namespace brixo {

namespace {

template <typename T>
std::optional<T> Stored(QSettings& settings, const char* key) {
  const QVariant value = settings.value(key);
  if (!value.isValid() || !value.canConvert<T>()) return std::nullopt;
  return value.value<T>();
}

std::string Local(const QString& text) { return QFile::encodeName(text).toStdString(); }
QString FromLocal(const std::string& text) { return QFile::decodeName(QByteArray::fromStdString(text)); }

template <typename T>
void Store(QSettings& settings, const char* key, const std::optional<T>& value) {
  if (value) settings.setValue(key, *value);
}

}  // namespace

RememberedSettings ReadRememberedSettings(QSettings& settings) {
  RememberedSettings remembered;
  remembered.Port.SerialNumber = settings.value("port/serialNumber").toString().toStdString();
  remembered.Port.ById = Local(settings.value("port/byId").toString());
  remembered.Port.Device = Local(settings.value("port/device").toString());
  remembered.BitRateOption = Stored<int>(settings, "link/bitRate");
  remembered.ModuleAddress = Stored<int>(settings, "link/moduleAddress");
  remembered.ExtendedAddress = Stored<int>(settings, "link/extendedAddress");
  remembered.StartNumberingAtOne = Stored<bool>(settings, "link/startNumberingAtOne");
  remembered.Bidirectional = Stored<bool>(settings, "link/bidirectional");
  remembered.ExtendedAddressing = Stored<bool>(settings, "link/extendedAddressing");
  remembered.ShowDetails = Stored<bool>(settings, "editor/showDetails");
  for (const QString& file : settings.value("recentFiles").toStringList())
    if (remembered.RecentFiles.size() < kRecentFileCount) remembered.RecentFiles.push_back(Local(file));
  return remembered;
}

void WriteRememberedSettings(QSettings& settings, const RememberedSettings& remembered) {
  settings.setValue("port/serialNumber", QString::fromStdString(remembered.Port.SerialNumber));
  settings.setValue("port/byId", FromLocal(remembered.Port.ById));
  settings.setValue("port/device", FromLocal(remembered.Port.Device));
  Store(settings, "link/bitRate", remembered.BitRateOption);
  Store(settings, "link/moduleAddress", remembered.ModuleAddress);
  Store(settings, "link/extendedAddress", remembered.ExtendedAddress);
  Store(settings, "link/startNumberingAtOne", remembered.StartNumberingAtOne);
  Store(settings, "link/bidirectional", remembered.Bidirectional);
  Store(settings, "link/extendedAddressing", remembered.ExtendedAddressing);
  Store(settings, "editor/showDetails", remembered.ShowDetails);
  QStringList files;
  for (const std::string& file : remembered.RecentFiles) files << FromLocal(file);
  settings.setValue("recentFiles", files);
}

void RestoreWindowSettings(QSettings& settings, BrixoConfig& window, QtFileChooser& chooser) {
  RestoreSettings(window.App(), ReadRememberedSettings(settings));
  // Saved on another screen, or a larger one, it may no longer fit this one.
  if (window.restoreGeometry(settings.value("window/geometry").toByteArray())) KeepOnScreen(window);
  QMap<QString, QString> folders;
  settings.beginGroup("folders");
  for (const QString& kind : settings.childKeys()) folders[kind] = settings.value(kind).toString();
  settings.endGroup();
  chooser.SetFolders(folders);
  window.ShowAll();
  window.ShowRecentFiles();
}

bool OpenStartPort(QSettings& settings, BrixoConfig& window, const std::string& commandLineDevice) {
  if (!commandLineDevice.empty()) return window.SelectDevice(commandLineDevice);
  const PortIdentity port = ReadRememberedSettings(settings).Port;
  if (port.Empty()) return false;
  // A serial server on the network is remembered by its URL alone, and offered again by it.
  if (IsNetworkPortName(port.Device)) return window.SelectDevice(port.Device);
  const PortEntry* entry = FindPort(window.App().Ports().PortEntries(), port);
  return entry != nullptr && window.SelectDevice(entry->Device());
}

void SaveWindowSettings(QSettings& settings, BrixoConfig& window, const QtFileChooser& chooser) {
  WriteRememberedSettings(settings, RememberSettings(window.App(), ReadRememberedSettings(settings)));
  settings.setValue("window/geometry", window.saveGeometry());
  settings.beginGroup("folders");
  for (auto it = chooser.Folders().cbegin(); it != chooser.Folders().cend(); ++it) settings.setValue(it.key(), it.value());
  settings.endGroup();
  settings.sync();
}

QString DefaultSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/BrixoConfig/BrixoConfig.conf";
}

WindowSettingsFile::WindowSettingsFile(const QString& path) : path_(path) {
  const std::string why = RegularFileProblem(Local(path));
  if (!why.empty()) {
    problem_ = "Settings not read: " + Local(path) + ": " + why;
    return;
  }
  settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

WindowSettingsFile::~WindowSettingsFile() = default;

void WindowSettingsFile::Restore(BrixoConfig& window, QtFileChooser& chooser) {
  if (settings_) RestoreWindowSettings(*settings_, window, chooser);
}

bool WindowSettingsFile::OpenStartPort(BrixoConfig& window, const std::string& commandLineDevice) {
  if (settings_) return brixo::OpenStartPort(*settings_, window, commandLineDevice);
  return !commandLineDevice.empty() && window.SelectDevice(commandLineDevice);
}

void WindowSettingsFile::Save(BrixoConfig& window, const QtFileChooser& chooser) {
  const std::string why = RegularFileProblem(Local(path_));
  if (!why.empty()) {
    // Nothing pending either: QSettings writes only values that were set.
    problem_ = "Settings not saved: " + Local(path_) + ": " + why;
    return;
  }
  // A file that appeared or became regular since the start is written afresh.
  if (!settings_) settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
  SaveWindowSettings(*settings_, window, chooser);
  problem_.clear();
}

}  // namespace brixo
