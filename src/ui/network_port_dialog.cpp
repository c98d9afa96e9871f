#include "ui/network_port_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace brixo {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

NetworkPortDialog::NetworkPortDialog(const std::optional<NetworkAddress>& shown, QWidget* parent) : QDialog(parent) {
  setObjectName("dlgNetworkPort");
  setWindowTitle("Network Port");
  setMinimumWidth(340);
  host_ = Named(new QLineEdit, "TextNetworkHost");
  host_->setPlaceholderText("layout-pi or 192.168.1.20");
  port_ = Named(new QSpinBox, "UpDownNetworkPort");
  port_->setRange(1, 65535);
  port_->setValue(kDefaultNetworkPort);
  protocol_ = Named(new QComboBox, "ComboNetworkProtocol");
  protocol_->addItem(ProtocolName(NetworkProtocol::Rfc2217), static_cast<int>(NetworkProtocol::Rfc2217));
  protocol_->addItem(ProtocolName(NetworkProtocol::RawTcp), static_cast<int>(NetworkProtocol::RawTcp));
  protocol_->setToolTip(
      "RFC 2217: the bit rate and the other line settings go to the server, as to a local port.\n"
      "raw TCP: the server passes bytes on as they are; its line must be set to the bit rate chosen here.");
  if (shown) {
    host_->setText(QString::fromStdString(shown->Host));
    port_->setValue(shown->Port);
    protocol_->setCurrentIndex(protocol_->findData(static_cast<int>(shown->Protocol)));
  }
  problem_ = Named(new QLabel, "LabelNetworkProblem");
  problem_->setWordWrap(true);
  problem_->hide();

  auto* form = new QFormLayout;
  form->addRow("Host:", host_);
  form->addRow("Port:", port_);
  form->addRow("Protocol:", protocol_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("cmdNetworkOk");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("cmdNetworkCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &NetworkPortDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &NetworkPortDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
}

std::string NetworkPortDialog::Url() const {
  NetworkAddress address;
  address.Protocol = static_cast<NetworkProtocol>(protocol_->currentData().toInt());
  address.Host = host_->text().trimmed().toStdString();
  // An IPv6 address may be typed with its brackets.
  if (address.Host.size() > 2 && address.Host.front() == '[' && address.Host.back() == ']')
    address.Host = address.Host.substr(1, address.Host.size() - 2);
  address.Port = port_->value();
  return NetworkUrl(address);
}

void NetworkPortDialog::accept() {
  if (host_->text().trimmed().isEmpty()) {
    problem_->setText("Enter the host name or address of the serial server.");
    problem_->show();
    return;
  }
  std::string error;
  if (!ParseNetworkAddress(Url(), &error)) {
    problem_->setText(QString::fromStdString(error));
    problem_->show();
    return;
  }
  QDialog::accept();
}

}  // namespace brixo
