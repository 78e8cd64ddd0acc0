#pragma once
// What a scan checked, as plain data, and the likely causes when it found
// nothing: the adapters the request went out on, whether the reply port could
// be bound, what arrived. The wizard shows it behind its "no device" message;
// a command line can print the same words.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostnet/adapter_settings.h"
#include "hostnet/broadcast_sender.h"
#include "hostnet/firewall.h"
#include "resources/text_table.h"

namespace orvane {

struct ScanReport {
  // One adapter of the PC and, when the request was tried on it, how that went.
  struct AdapterCheck {
    Adapter adapter;
    bool tried = false;
    SendOutcome outcome{SendOutcome::Stage::Sent, 0};
  };
  std::vector<AdapterCheck> adapters;  // the adapters a request can go out on
  bool portBound = false;              // UDP port 12310 could be bound
  std::string portError;               // why not
  int deviceReplies = 0;               // discovery replies that could be read
  int otherDatagrams = 0;              // anything else that reached port 12310
  // After an empty scan: whether a datagram to this PC's own port 12310
  // arrived (nothing: not tried, or could not be).
  std::optional<bool> selfTest = {};
  // After an empty scan on Windows: what Windows Firewall says of port 12310
  // for this program (nothing: not Windows, or it could not be asked).
  std::optional<FirewallState> firewall = {};
};

enum class ScanCause {
  PortHeld,         // another program holds port 12310: nothing can be received
  NoAdapter,        // no adapter is connected with an address
  NotSent,          // the request left on no adapter
  FirewallCertain,  // a datagram to this PC's own port 12310 was dropped
  Firewall,         // the request left, nothing came back: a firewall may drop 12310,
  Starting,         // the device may still be starting,
  OtherNetwork,     // or it is cabled to another network
  FirewallBlocks,   // a Windows Firewall rule blocks this program
  FirewallNoRule,   // Windows Firewall is on and no rule lets port 12310 in
};

// The likely causes of an empty scan, most likely first; none when devices
// replied.
std::vector<ScanCause> LikelyCauses(const ScanReport& report);

// The report in words, one check a line (CR LF between lines), then the
// likely causes when nothing replied.
std::string DescribeScanReport(const ScanReport& report, Language language);

}  // namespace orvane
