#include <windows.h>

#include <algorithm>
#include <string>

#include "text/code_page.h"
#include "text/secret.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

// One character of the code page at bytes[pos], converted on its own so that
// a byte that starts none is found and passed over, and only it.
void NextCharacter(std::string_view bytes, std::size_t& pos, unsigned codePage, char32_t& c) {
  const std::size_t length = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[pos])) ? 2 : 1;
  wchar_t wide[2];
  const int n = pos + length <= bytes.size()
                    ? MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data() + pos,
                                          static_cast<int>(length), wide, 2)
                    : 0;
  if (n <= 0) {
    c = kUndecodedByte + static_cast<unsigned char>(bytes[pos]);
    ++pos;
    return;
  }
  c = wide[0];
  if (n == 2 && wide[0] >= 0xD800 && wide[0] <= 0xDBFF)
    c = 0x10000 + ((wide[0] - 0xD800) << 10) + (wide[1] - 0xDC00);
  pos += length;
}

}  // namespace

std::u32string DecodeCodePage(std::string_view bytes, unsigned codePage) {
  std::u32string out;
  out.reserve(bytes.size());
  for (std::size_t pos = 0; pos < bytes.size();) {
    char32_t c = 0;
    // Windows converts UTF-8 by whole sequences, not by lead bytes.
    if (codePage == CP_UTF8) {
      const std::size_t start = pos;
      if (!NextUtf8CodePoint(bytes, pos, c))
        c = kUndecodedByte + static_cast<unsigned char>(bytes[start]);
    } else {
      NextCharacter(bytes, pos, codePage, c);
    }
    out.push_back(c);
  }
  return out;
}

std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  // The text is a password: every buffer is on the heap from the start (a
  // short string would be copied when returned), and wiped when let go.
  std::string out;
  out.reserve(std::max<std::size_t>(32, utf8.size() * 4));
  if (codePage == CP_UTF8) {
    out.assign(utf8);
    return out;
  }
  std::u16string text = Utf8ToUtf16(utf8);
  const auto wipeText = [&text] {
    WipeBytes(reinterpret_cast<char*>(text.data()), text.size() * sizeof(char16_t));
  };
  if (text.empty()) return out;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // No best fit: an "a" for an "ä" would be sent as part of a password.
  BOOL usedDefault = FALSE;
  const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0,
                                       nullptr, &usedDefault);
  if (size <= 0 || usedDefault) {
    wipeText();
    return std::nullopt;
  }
  out.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, length, out.data(), size, nullptr,
                      &usedDefault);
  wipeText();
  if (usedDefault) {
    WipeString(out);
    return std::nullopt;
  }
  return out;
}

PcCodePage ThisPcCodePage(unsigned) {
  return {GetACP(), false};
}

}  // namespace orvane
