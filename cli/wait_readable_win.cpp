#include <winsock2.h>

#include "cli/poll_loop.h"

namespace orvane {

std::vector<std::intptr_t> WaitReadable(const std::vector<std::intptr_t>& handles,
                                        std::chrono::milliseconds timeout) {
  std::vector<std::intptr_t> readable;
  // select() refuses an empty set (WSAEINVAL): with no socket open the wait
  // is a plain sleep.
  if (handles.empty()) {
    Sleep(static_cast<DWORD>(timeout.count()));
    return readable;
  }
  fd_set set;
  FD_ZERO(&set);
  for (std::intptr_t handle : handles) FD_SET(static_cast<SOCKET>(handle), &set);
  timeval limit{static_cast<long>(timeout.count() / 1000),
                static_cast<long>((timeout.count() % 1000) * 1000)};
  if (select(0, &set, nullptr, nullptr, &limit) <= 0) return readable;
  for (std::intptr_t handle : handles)
    if (FD_ISSET(static_cast<SOCKET>(handle), &set)) readable.push_back(handle);
  return readable;
}

}  // namespace orvane
