#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The short English sentence shown for a Windows Sockets error code, or the
// empty text when the code has no row. The texts are fixed English and do not
// follow the wizard's language.
std::string SocketErrorText(std::int32_t code);

#ifndef _WIN32
// POSIX sockets report errno values; the messages the user sees are built from
// Windows Sockets codes so that they read the same on every platform. An errno
// without a Windows Sockets counterpart is returned unchanged, so the user
// still sees a number (with no text after it). Winsock reports its own codes,
// which is why this exists only on POSIX builds.
std::int32_t WsaCodeFromErrno(int posixErrno);
#endif

}  // namespace orvane
