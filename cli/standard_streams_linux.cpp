#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "cli/standard_streams.h"

namespace orvane {

bool PrepareStandardStreams() {
  std::signal(SIGPIPE, SIG_IGN);
  bool outputClosed = false;
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    if (fd == 1) outputClosed = true;
    // The lowest free number is this one, those below it being open.
    const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened > fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
  return outputClosed;
}

}  // namespace orvane
