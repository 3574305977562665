#include "Support/PrivateMount.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Support {
namespace {

bool WriteText(char const* path, std::string const& text) {
  int const fd = ::open(path, O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool const ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ::close(fd);
  return ok;
}

int const nUnavailable = 77;

// Runs body in a forked child once prepare() succeeded there (else the child
// ends as unavailable), and collects what the body reported.
CPrivateMountResult RunInChild(std::function<bool()> const& prepare,
                               std::function<std::string()> const& body) {
  CPrivateMountResult result;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
  std::fflush(nullptr);
  pid_t const pid = ::fork();
  if (pid < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return result;
  }
  if (pid == 0) {
    ::close(pipeFds[0]);
    if (!prepare()) ::_exit(nUnavailable);
    std::string const failure = body();
    if (!failure.empty()) {
      ssize_t const ignored = ::write(pipeFds[1], failure.data(), failure.size());
      (void)ignored;
    }
    ::_exit(failure.empty() ? 0 : 1);
  }
  ::close(pipeFds[1]);
  char buffer[512];
  ssize_t n;
  while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) result.failure.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == nUnavailable) return result;
  result.available = true;
  if (!(WIFEXITED(status) && WEXITSTATUS(status) == 0) && result.failure.empty())
    result.failure = "child ended abnormally";
  return result;
}

}  // namespace

CPrivateMountResult RunWithPrivateTmpfs(std::string const& mountPoint, std::string const& options,
                                        std::function<std::string()> const& body) {
  uid_t const uid = ::geteuid();
  gid_t const gid = ::getegid();
  return RunInChild(
      [&] {
        bool ready = ::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 &&
                     WriteText("/proc/self/setgroups", "deny") &&
                     WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") &&
                     WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
        if (!ready) ready = ::unshare(CLONE_NEWNS) == 0;  // already privileged
        return ready && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               ::mount("vq7test", mountPoint.c_str(), "tmpfs", 0, options.c_str()) == 0;
      },
      body);
}

CPrivateMountResult RunUnprivileged(std::function<std::string()> const& body) {
  return RunInChild(
      [] {
        return ::geteuid() != 0 ||
               (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0);
      },
      body);
}

bool RemountReadOnly(std::string const& mountPoint) {
  return ::mount(nullptr, mountPoint.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace Support
