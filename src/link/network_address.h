#pragma once
// A serial line reached over the network, named as serial tools name it:
// "socket://HOST:PORT" for a serial server that passes bytes on as they are (it fixes the
// line's settings itself) and "rfc2217://HOST:PORT" for one that takes the settings over
// the connection (telnet with COM-port control). Such a name stands wherever a device path
// may: on the command line, in the port list, in the remembered settings.
#include <optional>
#include <string>

namespace brixo {

enum class NetworkProtocol { RawTcp, Rfc2217 };

struct NetworkAddress {
  NetworkProtocol Protocol = NetworkProtocol::Rfc2217;
  std::string Host;  // a name, an IPv4 address, or an IPv6 address without brackets
  int Port = 0;      // 1..65535
  bool operator==(const NetworkAddress&) const = default;
};

// Whether the text begins with one of the network schemes, well formed or not: such a text
// is never a device path.
bool IsNetworkPortName(const std::string& device);

// The parts of "socket://HOST:PORT" or "rfc2217://HOST:PORT" ("[::1]" for an IPv6 address);
// nothing for any other text, with the reason in error when one is given.
std::optional<NetworkAddress> ParseNetworkAddress(const std::string& url, std::string* error = nullptr);

// The name the address is stored and given by: "rfc2217://layout-pi:3333".
std::string NetworkUrl(const NetworkAddress& address);

// How the window and the messages show it: "layout-pi:3333 (RFC 2217)", "layout-pi:3333 (raw TCP)".
std::string NetworkPortName(const NetworkAddress& address);

// "RFC 2217" or "raw TCP".
const char* ProtocolName(NetworkProtocol protocol);

// The name a port is shown by: a network port's, else the device path as it stands.
std::string PortDisplayName(const std::string& device);

}  // namespace brixo
