// Opens the device's shared folders and web page with the desktop's opener,
// xdg-open, which passes smb:// to the file manager and http:// to the browser,
// each in a normal window of that program.
//
// The address goes into each URL trimmed of blanks at both ends: a blank cannot
// stand in a URL, and the shortcuts' targets trim the same way. (Windows runs
// "explorer \\" + address with the address as received; explorer drops the
// blanks itself.) Shared folders: "smb://<address>/"; web page:
// "http://<address>".
//
// No shell is involved: the URL is one argv element of execve, so whatever the
// address holds (";", "$(...)", quotes) is text in a URL and runs nothing. The
// opener is started by a double fork with setsid, so it is neither our child
// nor in our session: nothing is waited for and no zombie stays behind. A pipe
// that closes on exec tells us whether the exec itself worked, which is the
// failure the caller is told about; what the opener does afterwards is its own
// business.
//
// Order: the web page's opener is forked only once the shared folders' opener
// has been exec'd, so the two start in the order given. That is all that is
// promised: both run detached, and which window appears first is up to them
// and the desktop.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop/shortcuts.h"

extern char** environ;

namespace orvane {

namespace {

constexpr const char* kOpener = "xdg-open";

// The opener's full path from PATH. Empty and relative entries are skipped:
// they name the current folder, where anyone could have put an "xdg-open".
std::string FindOnPath(const std::string& program) {
  const char* pathVariable = std::getenv("PATH");
  const std::string path = pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = path.substr(start, end - start);
    start = end + 1;
    if (folder.empty() || folder[0] != '/') continue;
    const std::string candidate = folder + "/" + program;
    struct stat info {};
    if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
  }
  return {};
}

void ReportAndExit(int pipeEnd, int error) {
  // Only async-signal-safe calls after fork: this may be a threaded program.
  const ssize_t ignored = ::write(pipeEnd, &error, sizeof error);
  (void)ignored;
  ::_exit(127);
}

// Starts program with the single argument. Returns 0 or the errno of the fork
// or exec that failed.
int StartDetached(const std::string& program, const std::string& argument) {
  // Everything the children need is prepared before fork.
  char* argv[] = {const_cast<char*>(kOpener), const_cast<char*>(argument.c_str()), nullptr};
  int status[2];
  if (::pipe2(status, O_CLOEXEC) != 0) return errno;

  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(status[0]);
    ::close(status[1]);
    return error;
  }
  if (child == 0) {
    ::close(status[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) ReportAndExit(status[1], errno);
    if (grandchild > 0) ::_exit(0);
    // The opener starts with default signal handling and no inherited
    // descriptors beyond 0-2 (the status pipe is close-on-exec already).
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &defaults, nullptr);
    ::sigaction(SIGCHLD, &defaults, nullptr);
    // Its standard input, output and error are the null device, never ours:
    // an opener (or the browser it starts) that keeps them open would hold a
    // caller's pipe, and `x=$(orvane shortcuts ... --open)` would wait for it.
    const int null = ::open("/dev/null", O_RDWR);
    if (null < 0) ReportAndExit(status[1], errno);
    for (int stream = 0; stream <= 2; ++stream)
      if (::dup2(null, stream) < 0) ReportAndExit(status[1], errno);
    if (null > 2) ::close(null);
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    ::execve(program.c_str(), argv, environ);
    ReportAndExit(status[1], errno);
  }

  ::close(status[1]);
  int childStatus = 0;
  while (::waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got = 0;
  do {
    got = ::read(status[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  ::close(status[0]);
  return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

DesktopResult OpenShortcutTargets(std::string_view address) {
  const std::string opener = FindOnPath(kOpener);
  if (opener.empty()) {
    return {false,
            "The shortcuts could not be opened because the program \"xdg-open\", which opens "
            "them on this desktop, was not found."};
  }
  const std::string trimmed(TrimBlanks(address));
  const struct {
    std::string url;
    const char* what;
  } targets[] = {{"smb://" + trimmed + "/", "shared folders"},
                 {"http://" + trimmed, "web management page"}};
  for (const auto& target : targets) {
    if (const int error = StartDetached(opener, target.url); error != 0) {
      return {false, std::string("The device's ") + target.what +
                         " could not be opened because \"xdg-open\" could not be started: " +
                         std::strerror(error) + "."};
    }
  }
  return {};
}

}  // namespace orvane
