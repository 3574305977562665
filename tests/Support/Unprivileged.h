#pragma once

#include <functional>
#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Support {

// The user that RunUnprivileged runs as: nobody when the tests run as root.
inline uid_t UnprivilegedUser() { return ::geteuid() == 0 ? 65534 : ::geteuid(); }

// Runs `body` in a child process as a user without privileges (nobody when
// the tests run as root, else the user running them) and gives its exit
// status; -1 when the child could not run or did not exit.
inline int RunUnprivileged(std::function<int()> const& body) {
  pid_t const child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(126);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace Support
