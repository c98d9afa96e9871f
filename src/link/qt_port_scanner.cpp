#include "link/qt_port_scanner.h"

#include <QFile>
#include <QSerialPortInfo>

namespace brixo {

std::vector<SerialDeviceInfo> ScanQtSerialPorts() {
  const std::map<std::string, std::string> byId = ByIdLinks();
  std::vector<SerialDeviceInfo> devices;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    SerialDeviceInfo device;
    device.Device = QFile::encodeName(port.systemLocation()).toStdString();
    device.Description = port.description().toStdString();
    device.Manufacturer = port.manufacturer().toStdString();
    device.SerialNumber = port.serialNumber().toStdString();
    device.Usb = port.hasVendorIdentifier();
    if (const auto link = byId.find(device.Device); link != byId.end()) device.ById = link->second;
    devices.push_back(std::move(device));
  }
  return devices;
}

}  // namespace brixo
