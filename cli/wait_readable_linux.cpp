#include <poll.h>

#include "cli/poll_loop.h"

namespace orvane {

std::vector<std::intptr_t> WaitReadable(const std::vector<std::intptr_t>& handles,
                                        std::chrono::milliseconds timeout) {
  std::vector<pollfd> fds;
  for (std::intptr_t handle : handles) fds.push_back({static_cast<int>(handle), POLLIN, 0});
  const int ready = poll(fds.data(), fds.size(), static_cast<int>(timeout.count()));
  std::vector<std::intptr_t> readable;
  // An interrupted wait (EINTR) counts as nothing ready; the caller loops.
  if (ready <= 0) return readable;
  for (const pollfd& fd : fds)
    if (fd.revents != 0) readable.push_back(fd.fd);
  return readable;
}

}  // namespace orvane
