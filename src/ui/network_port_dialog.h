#pragma once
// "Network Port...": the host, port and protocol of a serial server on the network
// (ser2net, say), which then joins the port list like a local port.
#include <QDialog>
#include <optional>
#include <string>

#include "link/network_address.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace brixo {

// The last entry of the port list, which asks for a network port.
inline constexpr const char* kNetworkPortItem = "Network Port...";
// The port a serial server is first offered on (the sample ser2net configuration's).
inline constexpr int kDefaultNetworkPort = 3333;

class NetworkPortDialog : public QDialog {
  Q_OBJECT
 public:
  // Shows the address given (the network port in use), or an empty host.
  explicit NetworkPortDialog(const std::optional<NetworkAddress>& shown, QWidget* parent = nullptr);

  // "rfc2217://layout-pi:3333": what the fields say.
  std::string Url() const;
  // Closes with Accepted only for a usable address; otherwise says what is wrong with it.
  void accept() override;

 private:
  QLineEdit* host_;
  QSpinBox* port_;
  QComboBox* protocol_;
  QLabel* problem_;
};

}  // namespace brixo
