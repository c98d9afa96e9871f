#include "transfer/line_backup_names.h"

#include <cctype>
#include <filesystem>

#include "link/network_address.h"

namespace brixo {

namespace {

constexpr char kTagEnd = '_';
constexpr const char* kModulePart = "module-";

std::string SafeTag(const std::string& text) {
  std::string tag;
  for (char c : text) {
    const bool kept = std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
    tag += kept ? c : '_';
  }
  return tag;
}

}  // namespace

std::string LineTag(const std::string& port) {
  if (const std::optional<NetworkAddress> address = ParseNetworkAddress(port))
    return SafeTag(address->Host + "_" + std::to_string(address->Port));
  // Below /dev the path tells devices apart ("pts_3", not "3"); elsewhere the file name does.
  const std::filesystem::path path(port);
  const std::filesystem::path below = path.lexically_relative("/dev");
  const bool inDev = path.is_absolute() && !below.empty() && *below.begin() != "..";
  const std::string name = inDev ? below.string() : path.filename().string();
  return SafeTag(name.empty() ? port : name);
}

std::string TaggedBackupFileName(const std::string& tag, const std::string& moduleFileName) {
  return tag.empty() ? moduleFileName : tag + kTagEnd + moduleFileName;
}

// The identification part of a module's name holds no "-", so the last "module-" begins it.
std::optional<TaggedBackupFile> ParseTaggedBackupFileName(const std::string& name) {
  const size_t start = name.rfind(kModulePart);
  if (start == std::string::npos) return std::nullopt;
  const std::optional<BackupFileAddress> address = ParseBackupFileName(name.substr(start));
  if (!address) return std::nullopt;
  if (start == 0) return TaggedBackupFile{"", *address};
  if (start < 2 || name[start - 1] != kTagEnd) return std::nullopt;
  return TaggedBackupFile{name.substr(0, start - 1), *address};
}

}  // namespace brixo
