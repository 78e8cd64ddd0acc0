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
  std::string CouldNotProbeReason() const override;
};

// Sends to 255.255.255.255 port 12311, where the devices listen.
class HostSender final : public Sender {
 public:
  SendOutcome Send(std::string_view bytes) override;
};

// The first adapter the platform lists.
class HostSettings final : public SettingsSource {
 public:
  LocalSettings Read() override;
};

class HostDesktop final : public Desktop {
 public:
  DesktopResult CreateShortcuts(const std::string& address, const std::string& hostName) override;
  DesktopResult OpenShortcutTargets(const std::string& address) override;
};

}  // namespace orvane
