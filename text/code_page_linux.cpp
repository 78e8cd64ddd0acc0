// The C library's iconv converts: glibc carries CP950 (Big5 with Microsoft's
// additions) and CP1252 itself, so no table of our own and no further library
// is needed, and glibc is on every Linux the program runs on.

#include <iconv.h>
#include <algorithm>

#include <cerrno>
#include <string>

#include "text/code_page.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

std::string IconvName(unsigned codePage) {
  return codePage == kCodePageUtf8 ? "UTF-8" : "CP" + std::to_string(codePage);
}

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts what it can of [in, in + inLeft) into [out, out + outLeft);
  // false with errno set when it stopped early.
  bool Convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
    char* source = const_cast<char*>(in);  // iconv's signature; it only reads
    const std::size_t result = iconv(cd_, &source, &inLeft, &out, &outLeft);
    in = source;
    return result != static_cast<std::size_t>(-1);
  }
  void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

}  // namespace

std::u32string DecodeCodePage(std::string_view bytes, unsigned codePage) {
  std::u32string out;
  // UTF-32 in the machine's byte order: one char32_t a character.
  Converter convert("UTF-32" + std::string(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? "LE" : "BE"),
                    IconvName(codePage));
  if (!convert.ok()) {
    for (const char byte : bytes) out.push_back(kUndecodedByte + static_cast<unsigned char>(byte));
    return out;
  }
  // No code page makes more characters than bytes.
  std::u32string buffer(bytes.size(), U'\0');
  const char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  while (inLeft > 0) {
    char* target = reinterpret_cast<char*>(buffer.data());
    std::size_t targetLeft = buffer.size() * sizeof(char32_t);
    const bool whole = convert.Convert(in, inLeft, target, targetLeft);
    out.append(buffer.data(), (buffer.size() * sizeof(char32_t) - targetLeft) / sizeof(char32_t));
    if (whole) break;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: the byte at `in` starts no character (or a cut one).
    out.push_back(kUndecodedByte + static_cast<unsigned char>(*in));
    ++in;
    --inLeft;
    convert.Reset();
  }
  return out;
}

std::optional<std::string> EncodeCodePage(std::string_view utf8, unsigned codePage) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  Converter convert(IconvName(codePage), "UTF-8");
  if (!convert.ok()) return std::nullopt;
  // Four bytes a character at most, in any code page iconv writes here. The
  // text is a password: on the heap from the start (a short string would be
  // copied when returned), and wiped when it is not returned.
  std::string out;
  out.reserve(std::max<std::size_t>(32, utf8.size() * 4));
  out.resize(utf8.size() * 4);
  const char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  char* target = out.data();
  std::size_t targetLeft = out.size();
  if (!convert.Convert(in, inLeft, target, targetLeft)) {
    WipeString(out);
    return std::nullopt;
  }
  out.resize(out.size() - targetLeft);
  return out;
}

PcCodePage ThisPcCodePage(unsigned languageCodePage) {
  return {languageCodePage, true};
}

}  // namespace orvane
