// The device simulator's reading of a configuration request, which the lab
// sends it from the wizard but anyone may send it. The input is the
// simulated device's identity (its first 17 bytes) and the datagram (the
// rest). Properties:
//  - a request is for the device exactly when its kind and identity match;
//  - a request that is read gives back every byte: the six fields and the
//    credentials, joined by ';', are the datagram after the identity, and
//    the credentials are the user name, ';', the password;
//  - a request for the device that cannot be read has fewer than seven ';'.

#include <algorithm>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "tools/devsim/devsim_wire.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvane::devsim;
  const std::string_view input = orvane::fuzz::Bytes(data, size);
  if (input.size() < kIdentityLength) return 0;
  const std::string_view identity = input.substr(0, kIdentityLength);
  const std::string_view datagram = input.substr(kIdentityLength);

  ConfigRequest request;
  const ConfigParse parse = ParseConfigRequest(datagram, identity, request);
  const bool forMe = datagram.size() >= 22 && datagram.substr(0, 5) == kConfigRequestKind &&
                     datagram.substr(5, kIdentityLength) == identity;
  FUZZ_CHECK((parse != ConfigParse::kNotForMe) == forMe);
  if (!forMe) return 0;
  const std::string_view body = datagram.substr(22);
  if (parse == ConfigParse::kMalformed) {
    FUZZ_CHECK(std::count(body.begin(), body.end(), ';') < 7);
    return 0;
  }
  const std::string joined = request.address + ";" + request.netmask + ";" + request.gateway + ";" +
                             request.hostName + ";" + request.workgroup + ";" +
                             request.hostNameFull + ";" + request.credentials;
  FUZZ_CHECK(joined == body);
  FUZZ_CHECK(request.credentials == request.userName + ";" + request.password);
  FUZZ_CHECK(request.userName.find(';') == std::string::npos);
  return 0;
}
