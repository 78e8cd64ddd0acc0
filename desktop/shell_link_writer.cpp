// Writes Windows shell link (.lnk) files without the Windows shell, so Linux
// builds leave the same shortcut files on the desktop as the shell would.
//
// What a file holds, in order (Microsoft's published Shell Link format):
//
//  ShellLinkHeader, 76 bytes
//    HeaderSize 0x4C and the LinkCLSID: how every reader recognises the file.
//    LinkFlags: which of the parts below follow (see Flags()).
//    FileAttributes 0, CreationTime/AccessTime/WriteTime 0, FileSize 0: these
//      describe a target file; ours are a web page and a server, and zero means
//      "not set", so the shell asks the target itself. Zeros also make the
//      files byte-for-byte reproducible.
//    IconIndex: the index half of "SHELL32.dll, 15" (signed 32-bit).
//    ShowCommand: 1, a normal window.
//    HotKey: 0, no key. Reserved1..3: 0, as the format requires.
//
//  LinkTargetIDList: not written. Its items are the private data of each shell
//    folder (the format leaves ItemID.Data to the "shell data source"), so a
//    hand-made item for a URL or a network server would be a guess that the
//    shell may reject as a broken shortcut. Without an IDList the shell derives
//    it from the target path below, the same parse that IShellLink::SetPath
//    (WScript's TargetPath) applies to "http://..." and "\\server".
//
//  LinkInfo, only for a UNC target ("\\server" or "\\server\share\rest"):
//    the format's own description of a network location, used by the shell to
//    resolve the link and shown by link readers as the network path. Flags:
//    CommonNetworkRelativeLinkAndPathSuffix only (no local volume). The header
//    is 0x24 bytes so that a Unicode copy of the path suffix can follow, and
//    CommonNetworkRelativeLink has NetNameOffset 0x1C, which announces Unicode
//    offsets, so a name outside ASCII survives. NetName is "\\server" or
//    "\\server\share"; the rest of the path is the CommonPathSuffix (empty for
//    a bare server). NetworkProviderType WNNC_NET_LANMAN (SMB), marked valid;
//    no device (drive letter), because nothing is mapped.
//
//  StringData, UTF-16LE (IsUnicode), each a 16-bit character count and the
//    characters without terminator, in the format's fixed order:
//    NAME_STRING (the description), WORKING_DIR, ICON_LOCATION (the path half
//    of "SHELL32.dll, 15"). No RELATIVE_PATH (the target is not beside the
//    link) and no arguments.
//
//  ExtraData: an EnvironmentVariableDataBlock with the target, then the
//    4-byte TerminalBlock. This is where the target text lives: HasExpString
//    tells the shell to take the target from this block and build the IDList
//    from it when the link is loaded. It holds the target twice, in 260 ANSI
//    bytes and 260 UTF-16 units, both NUL-terminated; that fixed size is the
//    reason for kMaxShellLinkTarget. The ANSI copy is in "the system default
//    code page", which we cannot know, so it keeps ASCII and writes '?' for
//    anything else, as Windows' own conversion does; the Unicode copy is exact.
//    Environment strings are expanded when read, so a '%NAME%' in an address
//    would be replaced; it can only change text after "http://" or "\\", never
//    the kind of target.

#include <cstring>

#include "desktop/shell_link.h"
#include "desktop/shell_link_format.h"
#include "text/utf_text.h"

namespace orvane {

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
  }
}

void SetU32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    out[at + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
  }
}

void PutUtf16(Bytes& out, std::u16string_view text) {
  for (char16_t unit : text) {
    PutU16(out, unit);
  }
}

// The ANSI fields get ASCII only; see the file comment.
std::string ToAnsi(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  }
  return out;
}

void PadToEven(Bytes& out) {
  if (out.size() % 2 != 0) {
    out.push_back(0);
  }
}

bool IsUncPath(std::u16string_view target) {
  return target.size() > 2 && target[0] == u'\\' && target[1] == u'\\' && target[2] != u'\\';
}

// "\\server\share\rest" -> NetName "\\server\share", suffix "rest".
void SplitUnc(std::u16string_view target, std::u16string& netName, std::u16string& suffix) {
  std::size_t end = target.find(u'\\', 2);  // after the server
  if (end != std::u16string_view::npos) {
    end = target.find(u'\\', end + 1);  // after the share
  }
  if (end == std::u16string_view::npos) {
    netName = std::u16string(target);
    suffix.clear();
  } else {
    netName = std::u16string(target.substr(0, end));
    suffix = std::u16string(target.substr(end + 1));
  }
}

void PutLinkInfo(Bytes& out, std::u16string_view target) {
  std::u16string netName;
  std::u16string suffix;
  SplitUnc(target, netName, suffix);

  // CommonNetworkRelativeLink, built first so its size is known.
  Bytes link;
  PutU32(link, 0);  // CommonNetworkRelativeLinkSize, set below
  PutU32(link, lnk::kValidNetType);
  PutU32(link, lnk::kNetNameOffsetWithUnicode);
  PutU32(link, 0);  // DeviceNameOffset: no device
  PutU32(link, lnk::kWnncNetLanman);
  PutU32(link, 0);  // NetNameOffsetUnicode, set below
  PutU32(link, 0);  // DeviceNameOffsetUnicode: no device
  const std::string ansiNetName = ToAnsi(netName);
  link.insert(link.end(), ansiNetName.begin(), ansiNetName.end());
  link.push_back(0);
  PadToEven(link);
  SetU32(link, 0x14, static_cast<std::uint32_t>(link.size()));
  PutUtf16(link, netName);
  PutU16(link, 0);
  SetU32(link, 0, static_cast<std::uint32_t>(link.size()));

  Bytes info;
  PutU32(info, 0);  // LinkInfoSize, set below
  PutU32(info, lnk::kLinkInfoHeaderSizeWithUnicode);
  PutU32(info, lnk::kCommonNetworkRelativeLinkAndPathSuffix);
  PutU32(info, 0);                                    // VolumeIDOffset: no local volume
  PutU32(info, 0);                                    // LocalBasePathOffset: none
  PutU32(info, lnk::kLinkInfoHeaderSizeWithUnicode);  // the network link follows the header
  PutU32(info, 0);                                    // CommonPathSuffixOffset, set below
  PutU32(info, 0);                                    // LocalBasePathOffsetUnicode: none
  PutU32(info, 0);                                    // CommonPathSuffixOffsetUnicode, set below
  info.insert(info.end(), link.begin(), link.end());
  SetU32(info, 0x18, static_cast<std::uint32_t>(info.size()));
  const std::string ansiSuffix = ToAnsi(suffix);
  info.insert(info.end(), ansiSuffix.begin(), ansiSuffix.end());
  info.push_back(0);
  PadToEven(info);
  SetU32(info, 0x20, static_cast<std::uint32_t>(info.size()));
  PutUtf16(info, suffix);
  PutU16(info, 0);
  SetU32(info, 0, static_cast<std::uint32_t>(info.size()));
  out.insert(out.end(), info.begin(), info.end());
}

void PutStringData(Bytes& out, std::u16string_view text) {
  PutU16(out, static_cast<std::uint16_t>(text.size()));
  PutUtf16(out, text);
}

void PutEnvironmentBlock(Bytes& out, std::u16string_view target) {
  PutU32(out, lnk::kEnvironmentBlockSize);
  PutU32(out, lnk::kEnvironmentBlockSignature);
  Bytes ansi(lnk::kEnvironmentAnsiBytes, 0);
  const std::string ansiTarget = ToAnsi(target);
  std::memcpy(ansi.data(), ansiTarget.data(), ansiTarget.size());
  out.insert(out.end(), ansi.begin(), ansi.end());
  Bytes unicode;
  PutUtf16(unicode, target);
  unicode.resize(lnk::kEnvironmentUnicodeBytes, 0);
  out.insert(out.end(), unicode.begin(), unicode.end());
}

}  // namespace

std::vector<std::uint8_t> WriteShellLink(const ShellLink& link) {
  const std::u16string target = Utf8ToUtf16(link.target);
  const std::u16string description = Utf8ToUtf16(link.description);
  const std::u16string workingDirectory = Utf8ToUtf16(link.workingDirectory);
  const std::u16string iconPath = Utf8ToUtf16(link.iconPath);
  if (target.empty() || target.size() > kMaxShellLinkTarget) {
    return {};
  }
  for (const auto* text : {&description, &workingDirectory, &iconPath}) {
    if (text->size() > 0xFFFF) {
      return {};
    }
  }
  const bool unc = IsUncPath(target);

  std::uint32_t flags = lnk::kIsUnicode | lnk::kHasExpString;
  if (unc) flags |= lnk::kHasLinkInfo;
  if (!description.empty()) flags |= lnk::kHasName;
  if (!workingDirectory.empty()) flags |= lnk::kHasWorkingDir;
  if (!iconPath.empty()) flags |= lnk::kHasIconLocation;

  Bytes out;
  PutU32(out, lnk::kHeaderSize);
  out.insert(out.end(), lnk::kLinkClsid.begin(), lnk::kLinkClsid.end());
  PutU32(out, flags);
  PutU32(out, 0);                     // FileAttributes
  out.resize(out.size() + 3 * 8, 0);  // CreationTime, AccessTime, WriteTime
  PutU32(out, 0);                     // FileSize
  PutU32(out, static_cast<std::uint32_t>(link.iconIndex));
  PutU32(out, link.showCommand);
  PutU16(out, link.hotKey);
  PutU16(out, 0);  // Reserved1
  PutU32(out, 0);  // Reserved2
  PutU32(out, 0);  // Reserved3

  if (unc) {
    PutLinkInfo(out, target);
  }
  if (flags & lnk::kHasName) PutStringData(out, description);
  if (flags & lnk::kHasWorkingDir) PutStringData(out, workingDirectory);
  if (flags & lnk::kHasIconLocation) PutStringData(out, iconPath);

  PutEnvironmentBlock(out, target);
  PutU32(out, 0);  // TerminalBlock
  return out;
}

IconLocation ParseIconLocation(std::string_view text) {
  const auto trim = [](std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string_view{};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
  };
  IconLocation result;
  const auto comma = text.rfind(',');
  if (comma == std::string_view::npos) {
    result.path = std::string(trim(text));
    return result;
  }
  result.path = std::string(trim(text.substr(0, comma)));
  const std::string_view number = trim(text.substr(comma + 1));
  std::int64_t value = 0;
  bool negative = false;
  std::size_t i = 0;
  if (!number.empty() && (number[0] == '-' || number[0] == '+')) {
    negative = number[0] == '-';
    i = 1;
  }
  if (i == number.size()) return result;
  for (; i < number.size(); ++i) {
    if (number[i] < '0' || number[i] > '9') return result;
    value = value * 10 + (number[i] - '0');
    if (value > 0x7FFFFFFF) return result;
  }
  result.index = static_cast<std::int32_t>(negative ? -value : value);
  return result;
}

}  // namespace orvane
