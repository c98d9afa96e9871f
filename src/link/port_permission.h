#pragma once
// What to tell a Linux user whose serial device refused to open with "Permission denied":
// serial devices belong to a group (dialout on Debian), and only its members may open them.
#include <string>

namespace brixo {

struct DeviceAccess {
  std::string Group;  // the group that owns the device; empty when it cannot be told
  std::string User;   // who runs the program
  // The user is listed in the group but this login started before that: membership
  // counts only from the next login.
  bool JoinedSinceLogin = false;
};

// The group that owns serial devices when the device itself cannot tell.
inline constexpr const char* kSerialGroup = "dialout";

// Whether an open failure's reason is a refused permission.
bool IsPermissionDenied(const std::string& reason);

// The advice, with the exact command to run.
std::string PermissionAdvice(const std::string& device, const DeviceAccess& access);

// Looks the device's group and the user's membership up on this machine.
DeviceAccess LookUpDeviceAccess(const std::string& device);

}  // namespace brixo
