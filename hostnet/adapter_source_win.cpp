// Order matters: winsock2.h before windows.h, and both before iphlpapi.h.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <cstring>
#include <vector>

#include "hostnet/adapter_settings.h"

namespace orvane {
namespace {

void CopyField(std::array<char, 16>& field, const IP_ADDRESS_STRING& value) {
  static_assert(sizeof value.String == 16, "IP_ADDRESS_STRING is 16 bytes");
  std::memcpy(field.data(), value.String, field.size());
}

class WindowsAdapterSource final : public AdapterSource {
 public:
  bool Query(std::vector<AdapterRecord>& adapters) override {
    adapters.clear();
    // The first call only reports the size the list needs; its result is
    // ERROR_BUFFER_OVERFLOW when there are adapters and is not otherwise
    // meaningful.
    ULONG size = 0;
    GetAdaptersInfo(nullptr, &size);
    if (size == 0) {
      return false;
    }
    // IP_ADAPTER_INFO holds pointers, so the buffer must be aligned for it.
    std::vector<IP_ADAPTER_INFO> buffer(size / sizeof(IP_ADAPTER_INFO) + 1);
    size = static_cast<ULONG>(buffer.size() * sizeof(IP_ADAPTER_INFO));
    if (GetAdaptersInfo(buffer.data(), &size) != ERROR_SUCCESS) {
      return false;
    }
    for (const IP_ADAPTER_INFO* info = buffer.data(); info != nullptr; info = info->Next) {
      AdapterRecord record{};
      CopyField(record.IpAddress, info->IpAddressList.IpAddress);
      CopyField(record.IpMask, info->IpAddressList.IpMask);
      CopyField(record.Gateway, info->GatewayList.IpAddress);
      record.Name = info->Description;
      record.Index = info->Index;
      // GetAdaptersInfo has no link state; an adapter without a link reports
      // 0.0.0.0, which CanSendOn turns away.
      record.Up = true;
      adapters.push_back(record);
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<AdapterSource> MakePlatformAdapterSource() {
  return std::make_unique<WindowsAdapterSource>();
}

}  // namespace orvane
