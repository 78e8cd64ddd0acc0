#pragma once
// The simulator's datagram log: one line per datagram or event, flushed at
// once, so a test can read what the wizard put on the wire while the
// simulator is still running.
//
// Line format (fields separated by one blank):
//   t=<seconds since start> RECV from=<addr>:<port> len=<n> hex=<bytes> text="<printable>"
//   t=<seconds since start> SEND id="<identity>" to=<addr>:<port> len=<n> hex=<bytes> text="..."
//   t=<seconds since start> <WORD> <free text>        (READY, CONFIG, APPLY, LOST, EXIT, ...)
// hex is the exact payload, two lower-case digits a byte (empty for an empty
// datagram); text is the same bytes with printable ASCII kept and everything
// else, including '"' and '\', written as \xHH.

#include <netinet/in.h>

#include <chrono>
#include <string>
#include <string_view>

namespace orvane::devsim {

std::string HexOf(std::string_view bytes);
std::string PrintableOf(std::string_view bytes);
std::string EndpointOf(const sockaddr_in& addr);

class DatagramLog {
 public:
  DatagramLog();
  ~DatagramLog();
  DatagramLog(const DatagramLog&) = delete;
  DatagramLog& operator=(const DatagramLog&) = delete;

  // Appends to `path`; an empty path logs to standard error.
  bool Open(const std::string& path);

  void Received(const sockaddr_in& from, std::string_view bytes);
  void Sent(std::string_view identity, const sockaddr_in& to, std::string_view bytes);
  void Event(std::string_view word, std::string_view text);

 private:
  void Write(std::string_view body);

  int fd_;  // standard error until Open() names a file
  bool ownsFd_ = false;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace orvane::devsim
