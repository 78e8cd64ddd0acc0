#include "tests/support/fake_services.h"

namespace orvane::testing {

namespace {
FakeWorld* world = nullptr;
}

ProbeAnswer FakeProber::Probe(const std::string& address) {
  probed.push_back(address);
  const auto it = answers.find(address);
  return it == answers.end() ? otherwise : it->second;
}

FakeReceiver::~FakeReceiver() {
  for (FakeWorld* w = world; w; w = w->previousWorld_)
    if (w->receiver_ == this) w->receiver_ = nullptr;
}

bool FakeReceiver::Open(QString* error) {
  if (portTaken_ && *portTaken_) {
    if (error) *error = QStringLiteral("The bound address is already in use");
    return false;
  }
  open_ = true;
  return true;
}

void FakeReceiver::Arrive(const std::string& datagram) {
  if (open_ && onDatagram) onDatagram(datagram);
}

SendOutcome FakeSender::Send(const std::string& bytes) {
  sent.push_back(bytes);
  if (onSend) onSend(bytes);
  if (failures.empty()) return {};
  const SendOutcome r = failures.front();
  failures.erase(failures.begin());
  return r;
}

QString FakeDesktop::CreateShortcuts(const std::string& address, const std::string& hostName) {
  created.emplace_back(address, hostName);
  return createError;
}

QString FakeDesktop::OpenShortcutTargets(const std::string& address) {
  opened.push_back(address);
  return openError;
}

FakeWorld::FakeWorld() {
  previousWorld_ = world;
  world = this;
  services_.prober = &prober;
  services_.sender = &sender;
  services_.settings = &settings;
  services_.desktop = &desktop;
  services_.makeReceiver = [this] {
    auto r = std::make_unique<FakeReceiver>(&portTaken);
    receiver_ = r.get();
    ++receiversMade;
    return r;
  };
  previous_ = SetServices(&services_);
}

FakeWorld::~FakeWorld() {
  SetServices(previous_);
  world = previousWorld_;
}

void FakeWorld::Arrive(const std::string& datagram) {
  if (receiver_) receiver_->Arrive(datagram);
}

}  // namespace orvane::testing
