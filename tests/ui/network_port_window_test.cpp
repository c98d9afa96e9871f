// "Network Port..." at the end of the port list: the dialog's address opens a serial
// server on the network like a local port, shown by its name; a cancelled or unusable
// address changes nothing.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "support/fake_serial_server.h"
#include "ui/network_port_dialog.h"
#include "window_test_fixture.h"

namespace brixo::window_test {
namespace {

struct Entered {
  QString Host;
  int Port = 0;
  QString Protocol;
  bool Ok = true;
};

class NetworkPortWindowTest : public MainWindowTest {
 protected:
  // Runs "Network Port..." with what the user types into its dialog; what the dialog said
  // about an unusable address lands in problems.
  void ChooseNetworkPort(const std::vector<Entered>& tries) {
    window.SetDialogRunner([this, tries](QDialog& dialog) {
      ASSERT_EQ(dialog.objectName(), "dlgNetworkPort");
      for (const Entered& entered : tries) {
        dialog.findChild<QLineEdit*>("TextNetworkHost")->setText(entered.Host);
        dialog.findChild<QSpinBox*>("UpDownNetworkPort")->setValue(entered.Port);
        auto* protocol = dialog.findChild<QComboBox*>("ComboNetworkProtocol");
        protocol->setCurrentIndex(protocol->findText(entered.Protocol));
        dialog.findChild<QPushButton*>(entered.Ok ? "cmdNetworkOk" : "cmdNetworkCancel")->click();
        auto* problem = dialog.findChild<QLabel*>("LabelNetworkProblem");
        if (entered.Ok && !problem->isHidden()) problems.push_back(problem->text().toStdString());
        if (dialog.result() == QDialog::Accepted) return;
      }
      dialog.reject();
    });
    QComboBox* combo = Find<QComboBox>("ComboPort");
    const int last = combo->count() - 1;
    ASSERT_EQ(combo->itemText(last), kNetworkPortItem);
    combo->setCurrentIndex(last);
    emit combo->activated(last);
  }
  std::vector<std::string> problems;
};

TEST_F(NetworkPortWindowTest, TheChosenServerOpensAndIsShownByName) {
  testing::FakeSerialServer server({});
  const QString where = QString("127.0.0.1:%1").arg(server.Port());
  ChooseNetworkPort({{"127.0.0.1", server.Port(), "RFC 2217"}});
  EXPECT_TRUE(app.Ports().PortOpen());
  EXPECT_EQ(app.Ports().OpenDevice(), "rfc2217://" + where.toStdString());
  QComboBox* combo = Find<QComboBox>("ComboPort");
  EXPECT_TRUE(combo->currentText().endsWith(" " + where + " (RFC 2217)")) << combo->currentText().toStdString();
  EXPECT_EQ(combo->itemText(combo->count() - 1), kNetworkPortItem) << "still offered at the end";
  EXPECT_EQ(Text("LabelPortState"), "Open: " + where + " (RFC 2217) (19200,o,8,1)");
  EXPECT_EQ(server.Received().Requests.front(), (std::vector<uint8_t>{1, 0, 0, 0x4B, 0x00}))
      << "the bit rate went to the server";
  EXPECT_TRUE(prompt.Messages.empty());

  // Another bit rate reaches the server too.
  Find<QRadioButton>("OptionBitRate_2")->click();
  EXPECT_TRUE(app.Ports().PortOpen());
  EXPECT_EQ(Text("LabelPortState"), "Open: " + where + " (RFC 2217) (38400,o,8,1)");
  EXPECT_EQ(server.Received().Requests.back(), (std::vector<uint8_t>{12, 3}));
  const auto requests = server.Received().Requests;
  EXPECT_NE(std::find(requests.begin(), requests.end(), std::vector<uint8_t>{1, 0, 0, 0x96, 0x00}), requests.end());
}

TEST_F(NetworkPortWindowTest, AnUnusableAddressIsRefusedInTheDialogAndCancelChangesNothing) {
  SelectSimulatedPort();
  const QString before = Find<QComboBox>("ComboPort")->currentText();
  ChooseNetworkPort({{"", 3333, "RFC 2217"}, {"layout pi", 3333, "raw TCP"}, {"", 3333, "RFC 2217", false}});
  EXPECT_EQ(problems, (std::vector<std::string>{"Enter the host name or address of the serial server.",
                                                "socket://layout pi:3333: not a host name: layout pi"}));
  EXPECT_EQ(Find<QComboBox>("ComboPort")->currentText(), before);
  EXPECT_TRUE(app.Ports().PortOpen()) << "the port in use stays open";
  EXPECT_EQ(app.Ports().OpenDevice(), kSimulatedPortName);
}

TEST_F(NetworkPortWindowTest, AServerThatRefusesSaysSoAndLeavesThePortClosed) {
  const int port = [] {
    testing::FakeSerialServer gone({});
    return gone.Port();
  }();
  ChooseNetworkPort({{"127.0.0.1", port, "raw TCP"}});
  EXPECT_FALSE(app.Ports().PortOpen());
  const QString where = QString("127.0.0.1:%1").arg(port);
  ASSERT_EQ(prompt.Messages.size(), 1u);
  EXPECT_EQ(prompt.Messages[0], "Cannot open communications port " + where.toStdString() + " (raw TCP)\n" +
                                         where.toStdString() +
                                         " refused the connection: no serial server listens on port " +
                                         std::to_string(port));
  EXPECT_EQ(Text("LabelPortState"), "Port closed");
}

}  // namespace
}  // namespace brixo::window_test
