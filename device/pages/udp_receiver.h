#pragma once
// The receiver on UDP port 12310 (all local addresses), on the UI thread.

#include <QUdpSocket>
#include <memory>

#include "device/core/codec.h"
#include "device/pages/services.h"

namespace orvane {

class UdpReplyReceiver final : public QObject, public ReplyReceiver {
 public:
  explicit UdpReplyReceiver(quint16 port = kReplyPort);
  ~UdpReplyReceiver() override;
  bool Open(QString* error) override;
  void Close() override;
  bool IsOpen() const override { return socket_ != nullptr; }

 private:
  void ReadPending();

  quint16 port_;
  std::unique_ptr<QUdpSocket> socket_;
};

}  // namespace orvane
