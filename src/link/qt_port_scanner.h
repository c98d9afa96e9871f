#pragma once
// The machine's serial devices as Qt's serial port enumeration sees them. It leaves out the
// built-in ports that the kernel lists but no hardware backs.
#include <vector>

#include "link/port_list.h"

namespace brixo {

std::vector<SerialDeviceInfo> ScanQtSerialPorts();

}  // namespace brixo
