#include "text/code_page.h"

#include "text/utf_text.h"

namespace orvane {

std::string DeviceTextToUtf8(std::string_view bytes, const PcCodePage& pc) {
  if (pc.utf8First && IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char32_t c : DecodeCodePage(bytes, pc.codePage))
    AppendUtf8(out, c >= kUndecodedByte ? U'\uFFFD' : c);
  return out;
}

std::optional<Secret> CredentialBytes(std::string_view utf8, const PcCodePage& pc) {
  if (pc.utf8First) return Secret(utf8);
  std::optional<std::string> bytes = EncodeCodePage(utf8, pc.codePage);
  if (!bytes) return std::nullopt;
  Secret secret(*bytes);
  WipeString(*bytes);
  return secret;
}

}  // namespace orvane
