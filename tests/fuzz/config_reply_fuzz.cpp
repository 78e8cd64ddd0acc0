// A configuration reply from anyone on the LAN, judged for the device being
// configured. The input is the awaited identity (its first 17 bytes) and the
// datagram (the rest). Properties:
//  - an outcome is read only from a "0C02R" datagram long enough to hold a
//    status, and it is the status byte's;
//  - a reply counts for the identity exactly when it is a "0C02R" naming it;
//    the same reply with any one identity byte changed names another device.

#include <string>

#include "device/codec.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  const std::string_view input = fuzz::Bytes(data, size);
  if (input.size() < 17) return 0;
  const std::string_view identity = input.substr(0, 17);
  const std::string_view datagram = input.substr(17);

  const ConfigStatus status = ParseConfigReply(datagram);
  if (status != ConfigStatus::Neither) {
    FUZZ_CHECK(ClassifyReply(datagram) == ReplyKind::Configuration && datagram.size() >= 23);
    FUZZ_CHECK(datagram[22] == (status == ConfigStatus::Success ? '2' : '1'));
  }

  const bool forIt = IsConfigReplyFor(datagram, identity);
  FUZZ_CHECK(forIt == (datagram.size() >= 22 && datagram.substr(0, 5) == "0C02R" &&
                       datagram.substr(5, 17) == identity));
  if (!forIt) return 0;
  std::string other(datagram);
  const std::size_t changed = 5 + static_cast<unsigned char>(datagram.back()) % 17;
  other[changed] = static_cast<char>(other[changed] ^ 0x20);
  FUZZ_CHECK(!IsConfigReplyFor(other, identity));
  FUZZ_CHECK(ParseConfigReply(other) == status);
  return 0;
}
