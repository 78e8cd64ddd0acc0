#include "wizard/udp_reply_receiver.h"

#include "hostnet/port_self_test.h"

namespace orvane {

UdpReplyReceiver::UdpReplyReceiver(std::uint16_t port) : port_(port) {}

UdpReplyReceiver::~UdpReplyReceiver() {
  Close();
}

bool UdpReplyReceiver::Open(std::string& error) {
  Close();
  if (!listener_.Open(port_, &error)) return false;
  notifier_ = std::make_unique<QSocketNotifier>(qintptr(listener_.Handle()), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &UdpReplyReceiver::ReadPending);
  return true;
}

void UdpReplyReceiver::Close() {
  if (notifier_) {
    notifier_->setEnabled(false);
    notifier_->disconnect(this);
    // Not deleted here: Close is often called from a handler of the
    // notifier's own signal (a configuration reply closes the receiver), and
    // an object must not be destroyed inside its own signal.
    notifier_.release()->deleteLater();
  }
  // Closing the socket drops whatever the system still queues for it, so a
  // datagram that arrived before the close is never delivered after it.
  listener_.Close();
}

void UdpReplyReceiver::ReadPending() {
  // A handler may close the receiver (a configuration reply does); stop then.
  // At most a batch per event, so a flood of datagrams never holds the UI
  // thread: the notifier fires again for the rest on the next turn of the loop.
  std::string datagram;
  Arrival arrival;
  for (int batch = 0; batch < 256 && listener_.IsOpen() && listener_.Read(datagram, &arrival);
       ++batch)
    if (onDatagram) onDatagram(datagram, arrival);
}

std::unique_ptr<ReplyReceiver> UdpReceiverFactory::MakeReceiver() {
  return std::make_unique<UdpReplyReceiver>();
}

std::optional<bool> UdpReceiverFactory::PortReachesItself(const std::string& ownAddress) {
  return orvane::PortReachesItself(kReplyPort, ownAddress, std::chrono::milliseconds(200));
}

std::optional<FirewallState> UdpReceiverFactory::ReadFirewall() {
  return orvane::ReadFirewall(kReplyPort);
}

}  // namespace orvane
