#pragma once
// This PC's own services behind the setup run's interfaces: the echo probe,
// the broadcast sender, the adapter settings and the desktop. Time and the
// reply receiver belong to the program's event loop and are wired there.

#include <string>
#include <string_view>

#include "device/setup_services.h"

namespace orvane {

class HostProber final : public Prober {
 public:
  ProbeResult Probe(const std::string& address) override;
  std::vector<ProbeResult> ProbeAll(std::span<const std::string> addresses) override;
  std::string CouldNotProbeReason() const override;
  Neighbour AskNeighbour(const std::string& address, bool resolve) override;
  Neighbour LookNeighbour(const std::string& address) override;
};

// Sends to 255.255.255.255 port 12311, where the devices listen.
class HostSender final : public Sender {
 public:
  SendOutcome Send(std::string_view bytes) override;
  SendOutcome SendVia(std::string_view bytes, const Adapter& adapter) override;
};

// The first adapter the platform lists, and all of them.
class HostSettings final : public SettingsSource {
 public:
  LocalSettings Read() override;
  std::vector<Adapter> ReadAdapters() override;
};

class HostDesktop final : public Desktop {
 public:
  DesktopResult CreateShortcuts(const std::string& address, const std::string& hostName,
                                const PcCodePage& pc) override;
  DesktopResult OpenShortcutTargets(const std::string& address) override;
};

}  // namespace orvane
