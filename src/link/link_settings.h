#pragma once
// The serial port and its settings as the window's "Port:" list, "Refresh" button and
// "Bitrate" frame see them. Owns the open port and lends it to the exchange.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/brixo_link.h"
#include "link/port_list.h"
#include "link/serial_port_factory.h"
#include "link/user_directions.h"

namespace brixo {

// "9600,o,8,1", "19200,o,8,1", "38400,o,8,1" for options 0, 1, 2; empty for others.
std::string LineSettingsForOption(int index);

class LinkSettings {
 public:
  // Without a scanner only the extra devices are offered.
  LinkSettings(BrixoLink& link, SerialPortFactory& factory, PortScanner scanner = {});
  ~LinkSettings();
  LinkSettings(const LinkSettings&) = delete;
  LinkSettings& operator=(const LinkSettings&) = delete;

  // A device offered beyond the machine's own (a path given on the command line, the
  // simulated controller); it gets the next free number at the next ListSerialPorts.
  void AddExtraDevice(const std::string& device);
  // The same at once, without scanning the machine again (a network port the user named,
  // a remembered one): the open port stays open. Returns the device's list text.
  std::string OfferDevice(const std::string& device);

  // Closes the port and numbers the devices that exist. They are not opened to try them:
  // that would disturb a device another program uses, and a device the user may not open
  // must stay in the list, so that choosing it tells him why.
  void ListSerialPorts();
  // The texts of ComboPort ("1 /dev/ttyUSB0 — FT232R USB UART (A12345)").
  std::vector<std::string> ComboPortItems() const;
  const std::vector<PortEntry>& PortEntries() const { return entries_; }
  // The entry that ComboPortText names, null for none.
  const PortEntry* SelectedEntry() const;

  // The automatic refresh: scans again and, when an adapter came or went, numbers the
  // devices afresh. The open port stays open and the selection stays on its device while
  // that exists; a port whose device went is closed, as is one that is no longer open (its
  // far end closed while nothing ran, or an operation lost it). Changed when the list or
  // the port changed.
  struct Rescan {
    bool Changed = false;
    std::string LostDevice;  // the open port's device, when it went
    // Why, in the words a lost port has under an operation; empty when that was told
    // already (the operation that lost it did).
    std::string Fault;
  };
  Rescan RescanPorts();

  // ComboPort selection: closes the port and opens the one whose number leads the text.
  // False (port closed, user told) when the text has no number or the port cannot open.
  bool SelectPort(const std::string& comboText);
  // OptionBitRate click: new line settings; reopens a selected port.
  void SelectBitRate(int index);
  // cmdRefreshComm click.
  void RefreshPorts();
  // LabelPort double-click.
  void ToggleBitrateFrame() { FrameBitrateVisible = !FrameBitrateVisible; }

  bool PortOpen() const { return link_.PortOpen(); }
  // The device of the open port, empty while closed.
  std::string OpenDevice() const { return PortOpen() ? openDevice_ : std::string(); }
  std::string LineSettings() const { return lineSettings_; }

  // How the messages about ports tell the user to list them.
  UserDirections Directions;

  std::string ComboPortText;         // the list's text, the selected entry
  int OptionBitRate = 1;             // 0 "  9k6", 1 "19k2", 2 "38k4"
  bool FrameBitrateVisible = false;

 private:
  void ClosePort();
  bool OpenNumber(int number);

  BrixoLink& link_;
  SerialPortFactory& factory_;
  std::vector<SerialDeviceInfo> ScanMachine() const;

  PortScanner scanner_;
  std::vector<std::string> extraDevices_;
  std::vector<SerialDeviceInfo> machine_;  // as last scanned, in list order
  std::vector<PortEntry> entries_;
  std::unique_ptr<SerialPort> port_;
  std::string openDevice_;
  std::string lineSettings_ = "19200,o,8,1";
};

}  // namespace brixo
