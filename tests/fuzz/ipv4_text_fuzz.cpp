// Address texts: what a device reports, what the PC's settings hold. Properties:
//  - a text that is read is the one canonical way to write its address, so a
//    device's address is probed and addressed exactly as it was written;
//  - every address written out reads back as itself.

#include <cstring>
#include <string>

#include "hostnet/ipv4_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane;
  const std::string_view text = fuzz::Bytes(data, size);
  if (const auto address = ParseDottedQuad(text)) FUZZ_CHECK(FormatDottedQuad(*address) == text);

  std::uint32_t value = 0;
  std::memcpy(&value, data, std::min(size, sizeof value));
  const auto again = ParseDottedQuad(FormatDottedQuad(value));
  FUZZ_CHECK(again && *again == value);
  return 0;
}
