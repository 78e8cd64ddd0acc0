#include "device/host_services.h"

#include <system_error>

#include "device/codec.h"

namespace orvane {

ProbeResult HostProber::Probe(const std::string& address) {
  return orvane::Probe(address);
}

std::vector<ProbeResult> HostProber::ProbeAll(std::span<const std::string> addresses) {
  return orvane::ProbeAll(addresses);
}

std::string HostProber::CouldNotProbeReason() const {
  const int error = LastProbeErrno();
  return error ? std::system_category().message(error) : std::string();
}

Neighbour HostProber::AskNeighbour(const std::string& address, bool resolve) {
  return orvane::AskNeighbour(address, resolve, kProbeTimeout);
}

Neighbour HostProber::LookNeighbour(const std::string& address) {
  return orvane::LookNeighbour(address);
}

SendOutcome HostSender::Send(std::string_view bytes) {
  return SendBroadcast(bytes, kRequestPort);
}

SendOutcome HostSender::SendVia(std::string_view bytes, const Adapter& adapter) {
  return SendBroadcastVia(bytes, kRequestPort, adapter.index, adapter.settings.LocalAddress);
}

LocalSettings HostSettings::Read() {
  const auto source = MakePlatformAdapterSource();
  return ReadLocalSettings(*source);
}

std::vector<Adapter> HostSettings::ReadAdapters() {
  const auto source = MakePlatformAdapterSource();
  return orvane::ReadAdapters(*source);
}

DesktopResult HostDesktop::CreateShortcuts(const std::string& address, const std::string& hostName,
                                           const PcCodePage& pc) {
  return orvane::CreateShortcuts(address, hostName, pc);
}

DesktopResult HostDesktop::OpenShortcutTargets(const std::string& address) {
  return orvane::OpenShortcutTargets(address);
}

}  // namespace orvane
