#include "device/pages/udp_receiver.h"

#include <QNetworkDatagram>

namespace orvane {

UdpReplyReceiver::UdpReplyReceiver(quint16 port) : port_(port) {}

UdpReplyReceiver::~UdpReplyReceiver() {
  Close();
}

bool UdpReplyReceiver::Open(QString* error) {
  Close();
  auto socket = std::make_unique<QUdpSocket>();
  // An exclusive bind: if another program holds the port we must know, or the
  // two of us would share (and split) the devices' replies.
  if (!socket->bind(QHostAddress::AnyIPv4, port_, QUdpSocket::DontShareAddress)) {
    if (error) *error = socket->errorString();
    return false;
  }
  connect(socket.get(), &QUdpSocket::readyRead, this, &UdpReplyReceiver::ReadPending);
  socket_ = std::move(socket);
  return true;
}

void UdpReplyReceiver::Close() {
  if (!socket_) return;
  // Closing the socket drops whatever the system still queues for it, so a
  // datagram that arrived before the close is never delivered after it.
  socket_->disconnect(this);
  socket_->close();
  // Not deleted here: Close is often called from a handler of the socket's own
  // readyRead (a configuration reply closes the receiver), and a socket must
  // not be destroyed inside its own signal.
  socket_.release()->deleteLater();
}

void UdpReplyReceiver::ReadPending() {
  // A handler may close the receiver (a configuration reply does); stop then.
  // At most a batch per event, so a flood of datagrams never holds the UI
  // thread: the socket signals again for the rest on the next turn of the loop.
  for (int batch = 0; batch < 256 && socket_ && socket_->hasPendingDatagrams(); ++batch) {
    const QNetworkDatagram datagram = socket_->receiveDatagram();
    if (!datagram.isValid()) break;
    const QByteArray data = datagram.data();
    if (onDatagram) onDatagram(std::string(data.constData(), std::size_t(data.size())));
  }
}

}  // namespace orvane
