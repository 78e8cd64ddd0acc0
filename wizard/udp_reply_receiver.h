#pragma once
// The receiver on UDP port 12310 (all local addresses), delivering on the
// event loop's thread, and the factory the setup run makes it with.

#include <QObject>
#include <QSocketNotifier>
#include <cstdint>
#include <memory>

#include "device/codec.h"
#include "device/setup_services.h"
#include "hostnet/udp_listener.h"

namespace orvane {

class UdpReplyReceiver final : public QObject, public ReplyReceiver {
 public:
  explicit UdpReplyReceiver(std::uint16_t port = kReplyPort);
  ~UdpReplyReceiver() override;
  bool Open(std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return listener_.IsOpen(); }

 private:
  void ReadPending();

  std::uint16_t port_;
  UdpListener listener_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

class UdpReceiverFactory final : public ReceiverFactory {
 public:
  std::unique_ptr<ReplyReceiver> MakeReceiver() override;
  std::optional<bool> PortReachesItself(const std::string& ownAddress) override;
  std::optional<FirewallState> ReadFirewall() override;
};

}  // namespace orvane
