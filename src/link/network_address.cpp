#include "link/network_address.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace brixo {

namespace {

struct Scheme {
  std::string_view Prefix;
  NetworkProtocol Protocol;
};

constexpr std::array<Scheme, 2> kSchemes{{{"socket://", NetworkProtocol::RawTcp},
                                           {"rfc2217://", NetworkProtocol::Rfc2217}}};

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

// Letters, digits, "-", "." and "_": host names and IPv4 addresses.
bool PlainHost(std::string_view host) {
  return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
  });
}

bool Ipv6Host(std::string_view host) {
  return host.find(':') != std::string_view::npos && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.';
  });
}

bool PortNumber(std::string_view text, int& port) {
  if (text.empty() || text.size() > 5) return false;
  port = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    port = port * 10 + (c - '0');
  }
  return port >= 1 && port <= 65535;
}

std::optional<NetworkAddress> Fail(std::string* error, const std::string& why) {
  if (error != nullptr) *error = why;
  return std::nullopt;
}

}  // namespace

bool IsNetworkPortName(const std::string& device) {
  return std::any_of(kSchemes.begin(), kSchemes.end(),
                     [&](const Scheme& scheme) { return StartsWithNoCase(device, scheme.Prefix); });
}

std::optional<NetworkAddress> ParseNetworkAddress(const std::string& url, std::string* error) {
  const auto scheme = std::find_if(kSchemes.begin(), kSchemes.end(),
                                   [&](const Scheme& s) { return StartsWithNoCase(url, s.Prefix); });
  if (scheme == kSchemes.end()) return Fail(error, url + " is no network port (socket://HOST:PORT or rfc2217://HOST:PORT)");
  const std::string_view rest = std::string_view(url).substr(scheme->Prefix.size());
  NetworkAddress address;
  address.Protocol = scheme->Protocol;
  std::string_view host;
  std::string_view port;
  if (!rest.empty() && rest.front() == '[') {
    const size_t close = rest.find(']');
    if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
      return Fail(error, url + ": an IPv6 address is written [ADDRESS]:PORT");
    host = rest.substr(1, close - 1);
    port = rest.substr(close + 2);
    if (!Ipv6Host(host)) return Fail(error, url + ": not an IPv6 address: " + std::string(host));
  } else {
    const size_t colon = rest.rfind(':');
    if (colon == std::string_view::npos) return Fail(error, url + ": the port number is missing (HOST:PORT)");
    host = rest.substr(0, colon);
    port = rest.substr(colon + 1);
    if (!PlainHost(host)) return Fail(error, url + ": not a host name: " + std::string(host));
  }
  if (!PortNumber(port, address.Port)) return Fail(error, url + ": the port must be a number from 1 to 65535");
  address.Host = std::string(host);
  return address;
}

std::string NetworkUrl(const NetworkAddress& address) {
  for (const Scheme& scheme : kSchemes) {
    if (scheme.Protocol != address.Protocol) continue;
    const bool ipv6 = address.Host.find(':') != std::string::npos;
    return std::string(scheme.Prefix) + (ipv6 ? "[" + address.Host + "]" : address.Host) + ":" +
           std::to_string(address.Port);
  }
  return {};
}

const char* ProtocolName(NetworkProtocol protocol) {
  return protocol == NetworkProtocol::Rfc2217 ? "RFC 2217" : "raw TCP";
}

std::string NetworkPortName(const NetworkAddress& address) {
  const bool ipv6 = address.Host.find(':') != std::string::npos;
  return (ipv6 ? "[" + address.Host + "]" : address.Host) + ":" + std::to_string(address.Port) + " (" +
         ProtocolName(address.Protocol) + ")";
}

std::string PortDisplayName(const std::string& device) {
  if (const std::optional<NetworkAddress> address = ParseNetworkAddress(device)) return NetworkPortName(*address);
  return device;
}

}  // namespace brixo
