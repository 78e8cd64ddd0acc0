#include "device/pages/services.h"

#include "hostnet/adapter_settings.h"
#include "shell/core/wizard_state.h"
#include "shell/toolkit.h"

namespace orvane {
namespace {
Services* installed = nullptr;
bool toldCouldNotProbe = false;
}  // namespace

Services& RealServices();  // real_services.cpp

Services& CurrentServices() {
  return installed ? *installed : RealServices();
}

Services* SetServices(Services* services) {
  Services* previous = installed;
  installed = services;
  toldCouldNotProbe = false;
  return previous;
}

void LoadLocalSettings() {
  SettingsSource* source = CurrentServices().settings;
  // No source counts as a failed query: three empty values, which the free
  // address search then reports as invalid PC settings.
  const LocalSettings settings = source ? source->Read() : LocalSettings{};
  WizardState& s = State();
  s.LocalAddress = settings.LocalAddress;
  s.LocalNetmask = settings.LocalNetmask;
  s.LocalGateway = settings.LocalGateway;
}

void SayCouldNotProbeOnce() {
  // Said once: a list of devices would otherwise ask it for every row.
  if (toldCouldNotProbe) return;
  toldCouldNotProbe = true;
  Prober* prober = CurrentServices().prober;
  const QString reason = prober ? prober->CouldNotProbeReason() : QString();
  MsgBox(QStringLiteral("Cannot send echo requests (ping) from this PC") +
             (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) +
             QStringLiteral(".\r\nWhether a device or an address answers cannot be checked."),
         Buttons::Ok, Icon::Exclamation);
}

bool IsReachable(const std::string& address) {
  Prober* prober = CurrentServices().prober;
  const ProbeAnswer answer = prober ? prober->Probe(address) : ProbeAnswer::CouldNotProbe;
  if (answer == ProbeAnswer::CouldNotProbe) SayCouldNotProbeOnce();
  return answer == ProbeAnswer::Answered;
}

}  // namespace orvane
