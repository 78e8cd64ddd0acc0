#include "tools/devsim/devsim_log.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orvane::devsim {

std::string HexOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0f];
  }
  return out;
}

std::string PrintableOf(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kDigits[c >> 4];
      out += kDigits[c & 0x0f];
    }
  }
  return out;
}

std::string EndpointOf(const sockaddr_in& addr) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &addr.sin_addr, text, sizeof text);
  return std::string(text) + ":" + std::to_string(ntohs(addr.sin_port));
}

DatagramLog::DatagramLog() : fd_(STDERR_FILENO), start_(std::chrono::steady_clock::now()) {}

DatagramLog::~DatagramLog() {
  if (ownsFd_) ::close(fd_);
}

bool DatagramLog::Open(const std::string& path) {
  if (path.empty()) return true;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  if (ownsFd_) ::close(fd_);
  fd_ = fd;
  ownsFd_ = true;
  return true;
}

void DatagramLog::Received(const sockaddr_in& from, std::string_view bytes) {
  Write("RECV from=" + EndpointOf(from) + " len=" + std::to_string(bytes.size()) +
        " hex=" + HexOf(bytes) + " text=\"" + PrintableOf(bytes) + "\"");
}

void DatagramLog::Sent(std::string_view identity, const sockaddr_in& to, std::string_view bytes) {
  Write("SEND id=\"" + PrintableOf(identity) + "\" to=" + EndpointOf(to) +
        " len=" + std::to_string(bytes.size()) + " hex=" + HexOf(bytes) + " text=\"" +
        PrintableOf(bytes) + "\"");
}

void DatagramLog::Event(std::string_view word, std::string_view text) {
  std::string body(word);
  if (!text.empty()) {
    body += ' ';
    body += text;
  }
  Write(body);
}

void DatagramLog::Write(std::string_view body) {
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start_);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "t=%lld.%03lld ",
                static_cast<long long>(elapsed.count() / 1000),
                static_cast<long long>(elapsed.count() % 1000));
  // One unbuffered append per line: nothing waits in a buffer when a test
  // reads the log, and lines of simulators sharing one file stay whole.
  std::string line = stamp;
  line += body;
  line += '\n';
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t n = ::write(fd_, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace orvane::devsim
