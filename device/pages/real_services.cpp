#include <QString>
#include <system_error>

#include "desktop/shortcuts.h"
#include "device/core/codec.h"
#include "device/pages/services.h"
#include "device/pages/udp_receiver.h"
#include "hostnet/adapter_settings.h"
#include "hostnet/broadcast_sender.h"
#include "hostnet/icmp_probe.h"

namespace orvane {
namespace {

class RealProber final : public Prober {
 public:
  ProbeAnswer Probe(const std::string& address) override {
    switch (orvane::Probe(address)) {
      case ProbeResult::Answered:
        return ProbeAnswer::Answered;
      case ProbeResult::NoAnswer:
        return ProbeAnswer::NoAnswer;
      case ProbeResult::InvalidAddress:
        return ProbeAnswer::Invalid;
      case ProbeResult::CouldNotProbe:
        break;
    }
    return ProbeAnswer::CouldNotProbe;
  }
  QString CouldNotProbeReason() const override {
    const int error = LastProbeErrno();
    return error ? QString::fromStdString(std::system_category().message(error)) : QString();
  }
};

class RealSender final : public Sender {
 public:
  SendOutcome Send(const std::string& bytes) override { return SendBroadcast(bytes, kRequestPort); }
};

class RealSettings final : public SettingsSource {
 public:
  LocalSettings Read() override {
    const auto source = MakePlatformAdapterSource();
    return ReadLocalSettings(*source);
  }
};

class RealDesktop final : public Desktop {
 public:
  QString CreateShortcuts(const std::string& address, const std::string& hostName) override {
    return QString::fromStdString(orvane::CreateShortcuts(address, hostName).error);
  }
  QString OpenShortcutTargets(const std::string& address) override {
    return QString::fromStdString(orvane::OpenShortcutTargets(address).error);
  }
};

}  // namespace

Services& RealServices() {
  static RealProber prober;
  static RealSender sender;
  static RealSettings settings;
  static RealDesktop desktop;
  static Services services{&prober, &sender, &settings, &desktop,
                           [] { return std::make_unique<UdpReplyReceiver>(); }};
  return services;
}

}  // namespace orvane
