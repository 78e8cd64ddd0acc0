#include "device/scan.h"

#include <optional>

#include "device/codec.h"
#include "device/device_table.h"

namespace orvane {

Message CannotReceiveMessage(const std::string& error, Language language) {
  return {FillText(LoadText(TextId::CannotReceiveReplies, language), {error}) + "\r\n" +
              LoadText(TextId::PortMayBeInUse, language),
          std::string(kAppTitle), Buttons::Ok, Icon::Exclamation};
}

Scan::Scan(const Services& services, RunFrontEnd& frontEnd, Language language,
           std::chrono::milliseconds window)
    : services_(services),
      frontEnd_(frontEnd),
      language_(language),
      windowLength_(window),
      receiver_(services.receivers.MakeReceiver()),
      window_(services.clock.MakeTimer()),
      repeat_(services.clock.MakeTimer()) {
  receiver_->onDatagram = [this](std::string_view datagram, const Arrival& arrival) {
    if (!stopped_) OnDatagram(datagram, arrival);
  };
}

Scan::~Scan() {
  Stop();
}

void Scan::Stop() {
  stopped_ = true;
  window_->Stop();
  repeat_->Stop();
  receiver_->Close();
}

void Scan::Clear() {
  ResetDevices(devices_, lastDevice_);
  arrivals_ = {};
}

void Scan::Start(std::function<void()> onEnded) {
  onEnded_ = std::move(onEnded);
  Clear();
  report_ = {};
  sendAdapters_.clear();
  for (const Adapter& adapter : services_.settings.ReadAdapters())
    if (CanSendOn(adapter)) sendAdapters_.push_back(adapter);
  for (const Adapter& adapter : sendAdapters_) report_.adapters.push_back({adapter});

  std::string error;
  report_.portBound = receiver_->Open(error);
  report_.portError = error;
  // Another program holds the port: the scan can only end with no device.
  if (!report_.portBound) frontEnd_.ShowMessage(CannotReceiveMessage(error, language_));
  if (stopped_) return;

  requests_ = 1;
  const SendOutcome outcome = SendDiscovery();
  // A failure is shown and otherwise absorbed: the window ends the scan.
  if (outcome.stage != SendOutcome::Stage::Sent)
    frontEnd_.ShowMessage({BroadcastFailureMessage(outcome)});
  if (stopped_) return;
  // A reply that is already queued is taken before the window starts, and
  // the window starts once any failure message has been closed.
  frontEnd_.LetEventsRun();
  if (stopped_) return;
  window_->Start(windowLength_, [this] {
    if (!stopped_) OnWindowEnded();
  });
  RepeatDiscovery();
}

void Scan::RepeatDiscovery() {
  if (requests_ >= kDiscoveryRequests) return;
  repeat_->Start(kDiscoveryRepeat, [this] {
    if (stopped_ || !window_->IsActive()) return;
    // A repeat that fails says nothing the first request has not said; the
    // report keeps what happened on each adapter.
    SendDiscovery();
    ++requests_;
    RepeatDiscovery();
  });
}

SendOutcome Scan::SendDiscovery() {
  const std::string request = BuildDiscoveryRequest();
  // An adapter counts as sent on once any request left on it; until then
  // the report keeps its first failure.
  const auto record = [](ScanReport::AdapterCheck& check, const SendOutcome& outcome) {
    if (!check.tried || outcome.stage == SendOutcome::Stage::Sent) check.outcome = outcome;
    check.tried = true;
  };
  if (sendAdapters_.size() <= 1) {
    // One adapter (or none connected): the routes pick the way out, as for
    // any other program, and the request is the plain broadcast a device
    // expects, with no adapter forced.
    const SendOutcome outcome = services_.sender.Send(request);
    if (!report_.adapters.empty()) record(report_.adapters[0], outcome);
    return outcome;
  }
  // Several: the request goes out on each, so that a device on any network
  // of this PC hears it, not only one on the network of the default route.
  std::optional<SendOutcome> failure;
  bool sent = false;
  for (ScanReport::AdapterCheck& check : report_.adapters) {
    const SendOutcome outcome = services_.sender.SendVia(request, check.adapter);
    record(check, outcome);
    if (outcome.stage == SendOutcome::Stage::Sent)
      sent = true;
    else if (!failure)
      failure = outcome;
  }
  // Failing on one network of several is no failure of the scan; the report
  // names it.
  return sent ? SendOutcome{SendOutcome::Stage::Sent, 0} : *failure;
}

void Scan::OnDatagram(std::string_view datagram, const Arrival& arrival) {
  DeviceRecord read;
  // A configuration reply during the scan answers nothing asked: it is
  // counted with the rest.
  if (ClassifyReply(datagram) != ReplyKind::Discovery || !ParseDiscoveryReply(datagram, read)) {
    ++report_.otherDatagrams;
    return;
  }
  // The request goes out several times and on every adapter, and a device
  // answers each one it hears (a broadcast reply arrives on every adapter
  // of its network): one device, one row, by its 17-character identity, in
  // the place and with the adapter of its first reply.
  for (std::int16_t i = 0; i <= lastDevice_; ++i)
    if (devices_[static_cast<std::size_t>(i)].DeviceId == read.DeviceId) return;
  if (!StoreDiscoveryReply(devices_, lastDevice_, datagram)) {
    ++report_.otherDatagrams;  // the table is full: not listed
    return;
  }
  arrivals_[static_cast<std::size_t>(lastDevice_)] = arrival;
  ++report_.deviceReplies;
}

const Adapter* Scan::ArrivalAdapter(std::size_t index) const {
  const std::uint32_t interfaceIndex = arrivals_[index].interfaceIndex;
  if (interfaceIndex == 0) return nullptr;
  for (const Adapter& adapter : sendAdapters_)
    if (adapter.index == interfaceIndex) return &adapter;
  return nullptr;
}

void Scan::OnWindowEnded() {
  repeat_->Stop();
  receiver_->Close();
  if (lastDevice_ < 0) {
    // With the receiver closed the port is free for one datagram from this
    // PC to itself: if even that is dropped, a firewall here is the cause.
    if (report_.portBound && !sendAdapters_.empty())
      report_.selfTest =
          services_.receivers.PortReachesItself(sendAdapters_[0].settings.LocalAddress);
    report_.firewall = services_.receivers.ReadFirewall();
  }
  if (onEnded_) onEnded_();
}

}  // namespace orvane
