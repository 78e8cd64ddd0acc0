#pragma once
// The receiver on UDP port 12310 (all local addresses), on the UI thread.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "device/core/codec.h"
#include "device/pages/services.h"
#include "hostnet/udp_listener.h"

namespace orvane {

class UdpReplyReceiver final : public QObject, public ReplyReceiver {
 public:
  explicit UdpReplyReceiver(std::uint16_t port = kReplyPort);
  ~UdpReplyReceiver() override;
  bool Open(QString* error) override;
  void Close() override;
  bool IsOpen() const override { return listener_.IsOpen(); }

 private:
  void ReadPending();

  std::uint16_t port_;
  UdpListener listener_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace orvane
