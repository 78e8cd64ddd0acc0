#include "device/pages/services.h"

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

void SetServices(Services* services) {
  installed = services;
  toldCouldNotProbe = false;
}

bool IsReachable(const std::string& address) {
  Prober* prober = CurrentServices().prober;
  const ProbeAnswer answer = prober ? prober->Probe(address) : ProbeAnswer::CouldNotProbe;
  if (answer == ProbeAnswer::CouldNotProbe && !toldCouldNotProbe) {
    // Said once: a list of devices would otherwise ask it for every row.
    toldCouldNotProbe = true;
    QString reason = prober ? prober->CouldNotProbeReason() : QString();
    MsgBox(QStringLiteral("Cannot send echo requests (ping) from this PC") +
               (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) +
               QStringLiteral(".\r\nWhether a device or an address answers cannot be checked."),
           Buttons::Ok, Icon::Exclamation);
  }
  return answer == ProbeAnswer::Answered;
}

}  // namespace orvane
