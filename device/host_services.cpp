#include "device/host_services.h"

#include <system_error>

#include "device/codec.h"

namespace orvane {

ProbeResult HostProber::Probe(const std::string& address) {
  return orvane::Probe(address);
}

std::string HostProber::CouldNotProbeReason() const {
  const int error = LastProbeErrno();
  return error ? std::system_category().message(error) : std::string();
}

SendOutcome HostSender::Send(std::string_view bytes) {
  return SendBroadcast(bytes, kRequestPort);
}

LocalSettings HostSettings::Read() {
  const auto source = MakePlatformAdapterSource();
  return ReadLocalSettings(*source);
}

DesktopResult HostDesktop::CreateShortcuts(const std::string& address,
                                           const std::string& hostName) {
  return orvane::CreateShortcuts(address, hostName);
}

DesktopResult HostDesktop::OpenShortcutTargets(const std::string& address) {
  return orvane::OpenShortcutTargets(address);
}

}  // namespace orvane
