// A datagram on the neighbour lookup's netlink socket, as the kernel or any
// other process could send it. Properties: nothing is read outside it
// (ASan); an entry is only found in a datagram from the kernel that holds the
// dump's sequence number and the target address.

#include <cstring>
#include <vector>

#include "hostnet/neighbour_dump.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  constexpr std::uint32_t kSequence = 77, kTarget = 0x3901A8C0;  // 192.168.1.57
  // The first byte picks the sender; the rest is the datagram, copied so a
  // read past it is one past an allocation.
  if (size == 0) return 0;
  const std::uint32_t sender = data[0] & 1;
  const std::vector<std::uint8_t> datagram(data + 1, data + size);
  std::optional<NeighbourEntry> found;
  ReadNeighbourDatagram(datagram.data(), datagram.size(), sender, kSequence, kTarget, found);
  if (!found) return 0;
  FUZZ_CHECK(sender == 0);
  const std::uint8_t sequence[4] = {77, 0, 0, 0}, target[4] = {192, 168, 1, 57};
  const auto holds = [&](const std::uint8_t* bytes) {
    for (std::size_t i = 0; i + 4 <= datagram.size(); ++i)
      if (std::memcmp(datagram.data() + i, bytes, 4) == 0) return true;
    return false;
  };
  FUZZ_CHECK(holds(sequence) && holds(target));
  return 0;
}
