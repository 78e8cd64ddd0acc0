// POSIX errors as Windows Sockets codes, so the user reads the same texts on
// Linux as on Windows (socket_errors_linux.cpp; Winsock reports its own codes).
#include <gtest/gtest.h>

#include <cerrno>

#include "hostnet/socket_errors.h"

namespace orvane {
namespace {

TEST(WsaCodeFromErrno, MapsSocketErrorsToWindowsSocketsCodes) {
  struct Mapping {
    int posixErrno;
    std::int32_t wsaCode;
  };
  const Mapping mappings[] = {
      {ENETUNREACH, 10051},     {EHOSTUNREACH, 10065},    {EACCES, 10013},
      {EPERM, 10013},           {ENETDOWN, 10050},        {EMSGSIZE, 10040},
      {ENOBUFS, 10055},         {ENOMEM, 10055},          {EADDRNOTAVAIL, 10049},
      {EMFILE, 10024},          {ENFILE, 10024},          {EAFNOSUPPORT, 10047},
      {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044}, {EINVAL, 10022},
      {EINTR, 10004},           {EBADF, 10009},           {EFAULT, 10014},
      {EWOULDBLOCK, 10035},     {EAGAIN, 10035},          {ENOTSOCK, 10038},
      {EDESTADDRREQ, 10039},    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},
      {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},    {EADDRINUSE, 10048},
      {ENETRESET, 10052},       {ECONNABORTED, 10053},    {ECONNRESET, 10054},
      {EISCONN, 10056},         {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
      {EPIPE, 10058},           {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},
      {EHOSTDOWN, 10064},       {EINPROGRESS, 10036},     {EALREADY, 10037},
  };
  for (const Mapping& m : mappings) {
    const std::int32_t code = WsaCodeFromErrno(m.posixErrno);
    EXPECT_EQ(code, m.wsaCode) << "errno " << m.posixErrno;
    // Every mapped code has a text, so the user sees a sentence after it.
    EXPECT_NE(SocketErrorText(code), "") << "errno " << m.posixErrno;
  }
}

TEST(WsaCodeFromErrno, ErrnoWithoutCounterpartIsKept) {
  for (const int e : {EIO, ENOENT, ENODEV, ERANGE, 0, 9999}) {
    EXPECT_EQ(WsaCodeFromErrno(e), e) << "errno " << e;
  }
}

}  // namespace
}  // namespace orvane
