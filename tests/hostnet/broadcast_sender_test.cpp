#include "hostnet/broadcast_sender.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace orvane {
namespace {

using Stage = SendOutcome::Stage;

TEST(BroadcastFailureMessage, TwoLinesWithCodeAndTextTouching) {
  struct Case {
    SendOutcome outcome;
    const char* message;
  };
  const Case cases[] = {
      {{Stage::SendFailed, 10065}, "Cannot Send Request.\r\n 10065No route to host."},
      {{Stage::SendFailed, 10051}, "Cannot Send Request.\r\n 10051Network is unreachable."},
      {{Stage::CreateFailed, 10093}, "Cannot Create Socket.\r\n 10093Winsock not initialized."},
      {{Stage::CreateFailed, 10013}, "Cannot Create Socket.\r\n 10013Permission Denied."},
      // A code without a text leaves only the blank and the number.
      {{Stage::SendFailed, 10072}, "Cannot Send Request.\r\n 10072"},
      {{Stage::CreateFailed, 5}, "Cannot Create Socket.\r\n 5"},
      {{Stage::SendFailed, -1}, "Cannot Send Request.\r\n -1"},
      {{Stage::Sent, 0}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BroadcastFailureMessage(c.outcome), c.message) << c.message;
  }
}

int CountOpenFds() {
  int count = 0;
  if (DIR* dir = ::opendir("/proc/self/fd")) {
    while (::readdir(dir) != nullptr) {
      ++count;
    }
    ::closedir(dir);
  }
  return count;
}

// A UDP socket on 127.0.0.1 and an ephemeral port: the only place unit tests
// may send to.
class LoopbackReceiver : public ::testing::Test {
 protected:
  void SetUp() override {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    ASSERT_GE(fd_, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    socklen_t size = sizeof local;
    ASSERT_EQ(::getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &size), 0);
    port_ = ntohs(local.sin_port);
  }
  void TearDown() override { ::close(fd_); }

  // The next datagram whole, or nothing within a second.
  std::string Receive() {
    pollfd waiter{fd_, POLLIN, 0};
    if (::poll(&waiter, 1, 1000) != 1) {
      return "<nothing>";
    }
    std::string buffer(70000, '\0');
    const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), MSG_TRUNC);
    buffer.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return buffer;
  }

  int fd_ = -1;
  std::uint16_t port_ = 0;
};

TEST_F(LoopbackReceiver, DatagramArrivesWholeAndUnchanged) {
  std::string nonAscii = "0C02S";
  nonAscii += "\xE5\x8F\xB0\xE5\x8C\x97-NAS";  // a host name that is not ASCII
  nonAscii += std::string("\x00\x01\xFF\x80", 4);
  std::string large(1400, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>(i * 7 + 3);
  }
  for (const std::string& bytes : {std::string("0C01S"), nonAscii, large, std::string()}) {
    for (const bool broadcast : {false, true}) {
      const SendOutcome outcome = SendDatagramTo(bytes, "127.0.0.1", port_, broadcast);
      EXPECT_EQ(outcome.stage, Stage::Sent);
      EXPECT_EQ(outcome.wsaCode, 0);
      EXPECT_EQ(Receive(), bytes) << bytes.size() << " bytes";
    }
  }
}

TEST_F(LoopbackReceiver, SocketIsClosedBeforeReturning) {
  const int before = CountOpenFds();
  for (int i = 0; i < 20; ++i) {
    ASSERT_EQ(SendDatagramTo("0C01S", "127.0.0.1", port_, true).stage, Stage::Sent);
    Receive();
  }
  EXPECT_EQ(CountOpenFds(), before);
}

TEST_F(LoopbackReceiver, TooLongDatagramIsSendFailureWithCode) {
  const SendOutcome outcome = SendDatagramTo(std::string(70000, 'x'), "127.0.0.1", port_, false);
  EXPECT_EQ(outcome.stage, Stage::SendFailed);
  EXPECT_EQ(outcome.wsaCode, 10040);
  EXPECT_EQ(BroadcastFailureMessage(outcome), "Cannot Send Request.\r\n 10040Message too long.");
}

TEST(SendDatagramTo, DestinationThatIsNoAddressSendsNothing) {
  for (const char* text : {"", "127.0.0", "localhost", "127.0.0.1 ", "0x7f.0.0.1"}) {
    const SendOutcome outcome = SendDatagramTo("0C01S", text, 9, false);
    EXPECT_EQ(outcome.stage, Stage::SendFailed) << text;
    EXPECT_EQ(outcome.wsaCode, 10022) << text;
  }
}

}  // namespace
}  // namespace orvane
