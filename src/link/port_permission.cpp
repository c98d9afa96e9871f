#include "link/port_permission.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace brixo {

bool IsPermissionDenied(const std::string& reason) { return reason.find("Permission denied") != std::string::npos; }

std::string PermissionAdvice(const std::string& device, const DeviceAccess& access) {
  const std::string group = access.Group.empty() ? kSerialGroup : access.Group;
  const std::string user = access.User.empty() ? "$USER" : access.User;
  if (group == "root") {
    return device + " may be opened by root only. A udev rule that gives it to the group " + kSerialGroup +
           " lets that group's members open it.";
  }
  if (access.JoinedSinceLogin) {
    return "You are a member of the group \"" + group + "\", which owns " + device +
           ", but only since this login began: log out and back in (or start the program under\n    newgrp " +
           group + "\n) to use the membership.";
  }
  return "Only members of the group \"" + group + "\", which owns " + device +
         ", may open it. Add yourself with\n    sudo usermod -a -G " + group + " " + user +
         "\nthen log out and back in.";
}

DeviceAccess LookUpDeviceAccess(const std::string& device) {
  DeviceAccess access;
  struct stat info {};
  gid_t deviceGroup = 0;
  const bool known = ::stat(device.c_str(), &info) == 0;
  if (known) {
    deviceGroup = info.st_gid;
    if (const group* owner = ::getgrgid(deviceGroup)) access.Group = owner->gr_name;
  }
  const passwd* me = ::getpwuid(::getuid());
  if (me != nullptr) {
    access.User = me->pw_name;
  } else if (const char* name = std::getenv("USER")) {
    access.User = name;
  }
  if (!known || me == nullptr) return access;
  // Listed in the group database, but not among the groups this process runs with.
  int count = 64;
  std::vector<gid_t> listed(static_cast<size_t>(count));
  if (::getgrouplist(me->pw_name, me->pw_gid, listed.data(), &count) < 0) {
    listed.resize(static_cast<size_t>(count));
    if (::getgrouplist(me->pw_name, me->pw_gid, listed.data(), &count) < 0) return access;
  }
  listed.resize(static_cast<size_t>(count));
  std::vector<gid_t> active(static_cast<size_t>(std::max(0, ::getgroups(0, nullptr))));
  active.resize(static_cast<size_t>(std::max(0, ::getgroups(static_cast<int>(active.size()), active.data()))));
  active.push_back(::getegid());
  const auto has = [deviceGroup](const std::vector<gid_t>& groups) {
    return std::find(groups.begin(), groups.end(), deviceGroup) != groups.end();
  };
  access.JoinedSinceLogin = has(listed) && !has(active);
  return access;
}

}  // namespace brixo
