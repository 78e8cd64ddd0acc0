#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// Requests go to the limited broadcast address so that a device answers even
// when its own address lies outside the PC's subnet.
inline constexpr std::string_view kLimitedBroadcast = "255.255.255.255";

// What became of one datagram. wsaCode is the Windows Sockets code of the
// failing call (POSIX errors are translated), 0 when the datagram was sent.
struct SendOutcome {
  enum class Stage { Sent, CreateFailed, SendFailed } stage;
  std::int32_t wsaCode;
};

// Sends the bytes, unchanged and whole, as one datagram to 255.255.255.255 at
// `port` from a fresh unbound UDP socket with broadcast permission; the socket
// is closed before returning. It neither shows nor waits for anything: the
// page shows BroadcastFailureMessage and yields.
SendOutcome SendBroadcast(std::string_view bytes, std::uint16_t port);

// The same through one adapter: the datagram leaves by the adapter with that
// interface index, from its address `localAddress`, whatever the routes say,
// so a PC on several networks reaches each. The bytes are the same.
SendOutcome SendBroadcastVia(std::string_view bytes, std::uint16_t port,
                             std::uint32_t interfaceIndex, std::string_view localAddress);

// The two-line message for a failed send: "Cannot Create Socket." or
// "Cannot Send Request.", CR LF, one blank, the code in decimal and right
// after it the code's SocketErrorText. Empty for Stage::Sent.
std::string BroadcastFailureMessage(const SendOutcome& outcome);

// The single send path behind SendBroadcast, open so that tests can aim it at
// a loopback receiver. `ipv4` is dotted-decimal; text that is not one gives
// SendFailed with WSAEINVAL (10022) before any socket is made.
SendOutcome SendDatagramTo(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                           bool broadcast);

// The adapter a datagram is to leave by (SendBroadcastVia); none: the routes
// decide.
struct Via {
  std::uint32_t interfaceIndex;
  std::string_view localAddress;
};
SendOutcome SendDatagramVia(std::string_view bytes, std::string_view ipv4, std::uint16_t port,
                            bool broadcast, const Via* via);

}  // namespace orvane
