#pragma once
// The seams between the Step 4 pages and the outside world: the network (send,
// receive, probe, the PC's settings) and the desktop (shortcuts, launch).
// Production wires the real ones; GUI tests script whole runs through fakes.

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "hostnet/adapter_settings.h"
#include "hostnet/broadcast_sender.h"

namespace orvane {

// What one ICMP echo told about an address.
enum class ProbeAnswer {
  Answered,       // an echo reply came back: the address is in use
  NoAnswer,       // nothing (or an ICMP error) within 500 ms
  Invalid,        // not a dotted IPv4 address, or 255.255.255.255: nothing sent
  CouldNotProbe,  // no echo facility could be opened: nothing is known
};

class Prober {
 public:
  virtual ~Prober() = default;
  virtual ProbeAnswer Probe(const std::string& address) = 0;
  // Why probing is impossible, for the one message that says so.
  virtual QString CouldNotProbeReason() const { return {}; }
};

// One request datagram to 255.255.255.255 port 12311.
class Sender {
 public:
  virtual ~Sender() = default;
  virtual SendOutcome Send(const std::string& bytes) = 0;
};

// The receiver on UDP port 12310: every datagram whole, as bytes, on the UI
// thread, and nothing while closed.
class ReplyReceiver {
 public:
  virtual ~ReplyReceiver() = default;
  // False when the port cannot be bound; `error` then says why.
  virtual bool Open(QString* error) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  std::function<void(const std::string& datagram)> onDatagram;
};

// The PC's own settings: address, mask and gateway, or three empty values.
class SettingsSource {
 public:
  virtual ~SettingsSource() = default;
  virtual LocalSettings Read() = 0;
};

// The shortcuts and their targets; an empty error means success.
class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual QString CreateShortcuts(const std::string& address, const std::string& hostName) = 0;
  virtual QString OpenShortcutTargets(const std::string& address) = 0;
};

struct Services {
  Prober* prober = nullptr;
  Sender* sender = nullptr;
  SettingsSource* settings = nullptr;
  Desktop* desktop = nullptr;
  std::function<std::unique_ptr<ReplyReceiver>()> makeReceiver;
};

// The services in force: the real ones unless a test installed others.
Services& CurrentServices();
// Installs services (tests, tools) and returns the ones installed before, so
// they can be put back; nullptr stands for the real ones.
Services* SetServices(Services* services);

// Reads the PC's own settings and stores them as LocalAddress, LocalNetmask
// and LocalGateway. Step 4's load calls it once, before the scan starts.
void LoadLocalSettings();

// True exactly when the address answered one echo within 500 ms. When no echo
// can be sent at all, says so once per run of the program and answers false.
bool IsReachable(const std::string& address);

// Tells the user, once per run of the program, that no echo can be sent.
void SayCouldNotProbeOnce();

}  // namespace orvane
