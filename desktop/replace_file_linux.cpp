#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#include "desktop/replace_file.h"

namespace orvane {

namespace {

std::string ErrnoText(int error) {
  return std::strerror(error);
}

// A fresh name beside the target; the leading dot keeps it out of file views
// for the moment it exists.
std::filesystem::path TemporaryName(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  const std::string name = ".orvane-" + std::to_string(::getpid()) + "-" + std::to_string(seed) +
                           "-" + std::to_string(counter++) + ".tmp";
  return path.parent_path() / name;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, int& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string ReplaceFileWith(const std::filesystem::path& path,
                            std::span<const std::uint8_t> bytes) {
  std::filesystem::path temporary;
  int fd = -1;
  // O_EXCL with O_CREAT fails on any existing name, a symbolic link included;
  // the mode is filtered by the user's umask like any file they create.
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryName(path);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return ErrnoText(errno);
  }
  if (fd < 0) return ErrnoText(EEXIST);

  int error = 0;
  const bool written = WriteAll(fd, bytes, error);
  if (::close(fd) != 0 && written) error = errno;
  if (!written || error != 0) {
    ::unlink(temporary.c_str());
    return ErrnoText(error);
  }
  // rename() replaces a file, or a symbolic link itself, in one step.
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    return ErrnoText(error);
  }
  return {};
}

}  // namespace orvane
