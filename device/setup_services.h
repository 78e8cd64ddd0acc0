#pragma once
// What the setup run needs from the world, each behind a small interface: time,
// the reply receiver, the request sender, the echo probe, the PC's settings,
// the desktop and the candidate draw. Production wires this PC's own
// (host_services.h and the window program's event loop); tests wire fakes.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/shortcuts.h"
#include "device/address_pick.h"
#include "hostnet/adapter_settings.h"
#include "hostnet/broadcast_sender.h"
#include "hostnet/firewall.h"
#include "hostnet/icmp_probe.h"
#include "hostnet/neighbour.h"
#include "hostnet/udp_listener.h"

namespace orvane {

// A one-shot timer. Its callback runs on the run's own thread, as an event.
class Timer {
 public:
  virtual ~Timer() = default;
  // Arms the timer: `onTimeout` runs once, `after` from now. Arming an armed
  // timer starts it afresh.
  virtual void Start(std::chrono::milliseconds after, std::function<void()> onTimeout) = 0;
  virtual void Stop() = 0;
  virtual bool IsActive() const = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::unique_ptr<Timer> MakeTimer() = 0;
};

// The receiver on UDP port 12310 (all local addresses): every datagram whole,
// as bytes, as an event on the run's thread, and nothing while closed.
class ReplyReceiver {
 public:
  virtual ~ReplyReceiver() = default;
  // False when the port cannot be bound; `error` then says why.
  virtual bool Open(std::string& error) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Each datagram with the adapter it came in on (an empty Arrival when the
  // platform cannot say).
  std::function<void(std::string_view datagram, const Arrival& arrival)> onDatagram;
};

class ReceiverFactory {
 public:
  virtual ~ReceiverFactory() = default;
  virtual std::unique_ptr<ReplyReceiver> MakeReceiver() = 0;
  // Whether a datagram to this PC's own address reaches port 12310 (while no
  // receiver holds it); see PortReachesItself.
  virtual std::optional<bool> PortReachesItself(const std::string& ownAddress) = 0;
  // What Windows Firewall says of port 12310 for this program; nothing where
  // there is none or it cannot be asked.
  virtual std::optional<FirewallState> ReadFirewall() = 0;
};

// One request datagram to 255.255.255.255 port 12311.
class Sender {
 public:
  virtual ~Sender() = default;
  // Out by the adapter the routes pick.
  virtual SendOutcome Send(std::string_view bytes) = 0;
  // Out by that adapter, whatever the routes say.
  virtual SendOutcome SendVia(std::string_view bytes, const Adapter& adapter) = 0;
};

// One ICMP echo to an address, answered within 500 ms or not.
class Prober {
 public:
  virtual ~Prober() = default;
  virtual ProbeResult Probe(const std::string& address) = 0;
  // One echo to each address, all at once: within 500 ms in all. Result i
  // belongs to address i.
  virtual std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses) = 0;
  // Why probing is impossible, for the one message that says so; may be empty.
  virtual std::string CouldNotProbeReason() const = 0;
  // Whether a host holds the address by ARP: the neighbour entry an echo or
  // a datagram just made for it got a link-layer answer. Proves use where
  // the echo itself is dropped. With `resolve`, the system is first made to
  // resolve it (where no echo could be sent). `Unknown` when the address is not on a
  // local link or the platform cannot say. A held address comes with the
  // hardware address of its host where the platform gives it.
  virtual Neighbour AskNeighbour(const std::string& address, bool resolve) = 0;
  // Makes the system ask the link for the address and says at once what the
  // table holds now, without waiting: a host that answers shows on a later
  // look. For watching an address while the run waits for a datagram.
  virtual Neighbour LookNeighbour(const std::string& address) = 0;
};

// The PC's own address, mask and gateway.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  // The first adapter's.
  virtual LocalSettings Read() = 0;
  // Every adapter, in the platform's order.
  virtual std::vector<Adapter> ReadAdapters() = 0;
};

// The two desktop shortcuts and the opening of their targets.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The host name as the device sent it, decoded with `pc` to name the files.
  virtual DesktopResult CreateShortcuts(const std::string& address, const std::string& hostName,
                                        const PcCodePage& pc) = 0;
  virtual DesktopResult OpenShortcutTargets(const std::string& address) = 0;
};

// Everything at once, built where the program starts and handed down.
struct Services {
  Clock& clock;
  ReceiverFactory& receivers;
  Sender& sender;
  Prober& prober;
  SettingsSource& settings;
  Desktop& desktop;
  CandidateSource& candidates;
};

}  // namespace orvane
