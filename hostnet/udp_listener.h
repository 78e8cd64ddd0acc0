#pragma once
// A UDP socket bound to one port on every local IPv4 address, for the replies
// of the devices. It never blocks: the UI thread watches Handle() for data and
// then reads what is pending.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orvane {

// Where a datagram came in: the adapter (the platform's interface index, 0
// when unknown) and this PC's address on it.
struct Arrival {
  std::uint32_t interfaceIndex = 0;
  std::string localAddress;
};

class UdpListener {
 public:
  UdpListener() = default;
  ~UdpListener();
  UdpListener(const UdpListener&) = delete;
  UdpListener& operator=(const UdpListener&) = delete;

  // Binds the port exclusively: if another program holds it, this fails (and
  // `error` says why) rather than sharing, and splitting, the replies.
  bool Open(std::uint16_t port, std::string* error);
  // Closes the socket; what the system still queued for it is dropped with it.
  void Close();
  bool IsOpen() const { return handle_ != kNoHandle; }
  // The socket (fd or SOCKET) for an event notifier; only while open.
  std::intptr_t Handle() const { return handle_; }
  // Reads the next pending datagram whole, and where it came in when
  // `arrival` is given; false when none is pending.
  bool Read(std::string& datagram, Arrival* arrival = nullptr);

 private:
  static constexpr std::intptr_t kNoHandle = -1;
  // The largest UDP payload over IPv4; a device's reply is a few hundred bytes.
  static constexpr std::size_t kMaxDatagram = 65507;
  // Where Read receives, made on the first read. The listener's own, not a
  // thread_local one, which every thread of the program would carry.
  char* Buffer() {
    if (!buffer_) buffer_ = std::make_unique_for_overwrite<char[]>(kMaxDatagram);
    return buffer_.get();
  }
  std::unique_ptr<char[]> buffer_;
  std::intptr_t handle_ = kNoHandle;
  // Windows: WSARecvMsg, which is reached only through a function pointer.
  void* receiveMessage_ = nullptr;
};

}  // namespace orvane
