#include <cerrno>

#include "hostnet/socket_errors.h"

namespace orvane {
namespace {

struct ErrnoRow {
  int posixErrno;
  std::int32_t wsaCode;
};

// The Windows Sockets codes are the BSD errno numbers plus 10000, so most rows
// pair an errno with the code of the same name. The few without a namesake
// take the code Winsock reports in the same situation: EPERM (a firewall
// refusing a send, or a missing privilege) reads as WSAEACCES, ENOMEM and
// ENFILE as the shortage Winsock reports, EPIPE as sending after shutdown.
// EWOULDBLOCK and ENOTSUP are the same numbers as EAGAIN and EOPNOTSUPP here.
constexpr ErrnoRow kErrnoRows[] = {
    {EINTR, 10004},        {EBADF, 10009},           {EACCES, 10013},
    {EPERM, 10013},        {EFAULT, 10014},          {EINVAL, 10022},
    {EMFILE, 10024},       {ENFILE, 10024},          {EAGAIN, 10035},
    {EINPROGRESS, 10036},  {EALREADY, 10037},        {ENOTSOCK, 10038},
    {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},
    {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043}, {ESOCKTNOSUPPORT, 10044},
    {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},    {EAFNOSUPPORT, 10047},
    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},
    {ENETUNREACH, 10051},  {ENETRESET, 10052},       {ECONNABORTED, 10053},
    {ECONNRESET, 10054},   {ENOBUFS, 10055},         {ENOMEM, 10055},
    {EISCONN, 10056},      {ENOTCONN, 10057},        {ESHUTDOWN, 10058},
    {EPIPE, 10058},        {ETOOMANYREFS, 10059},    {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061}, {ELOOP, 10062},           {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},    {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
    {EUSERS, 10068},       {EDQUOT, 10069},          {ESTALE, 10070},
    {EREMOTE, 10071},
};

}  // namespace

std::int32_t WsaCodeFromErrno(int posixErrno) {
  for (const ErrnoRow& row : kErrnoRows) {
    if (row.posixErrno == posixErrno) {
      return row.wsaCode;
    }
  }
  return posixErrno;
}

}  // namespace orvane
