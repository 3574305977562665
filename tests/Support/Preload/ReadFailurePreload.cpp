// Loaded with LD_PRELOAD into a child test process: reads of every file whose
// path contains $VQ7_EIO_MATCH fail with EIO from byte $VQ7_EIO_FROM of the
// file on (0 when unset), as on a failing card. A read that reaches that
// byte comes short first, so whatever lies before it still reads.

// The fortified inline wrappers of read and pread would clash with ours.
#undef _FORTIFY_SOURCE

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <sys/types.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

template <class F>
F Next(char const* name) {
  return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

bool Matches(int fd) {
  char const* match = std::getenv("VQ7_EIO_MATCH");
  if (match == nullptr || *match == '\0') return false;
  char link[64], path[4096];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  ssize_t const n = ::readlink(link, path, sizeof path - 1);
  if (n <= 0) return false;
  path[n] = '\0';
  return std::strstr(path, match) != nullptr;
}

off_t FailFrom() {
  char const* from = std::getenv("VQ7_EIO_FROM");
  return from ? static_cast<off_t>(std::strtoll(from, nullptr, 10)) : 0;
}

// How many of `count` bytes at `at` of a matching file may be read; -1 when
// the read fails.
ssize_t Allowed(off_t at, size_t count) {
  off_t const from = FailFrom();
  if (at < 0 || at >= from) {
    errno = EIO;
    return -1;
  }
  return static_cast<ssize_t>(static_cast<size_t>(from - at) < count ? from - at : count);
}

}  // namespace

extern "C" {

ssize_t read(int fd, void* buffer, size_t count) {
  static auto const real = Next<ssize_t (*)(int, void*, size_t)>("read");
  if (count == 0 || !Matches(fd)) return real(fd, buffer, count);
  ssize_t const allowed = Allowed(::lseek(fd, 0, SEEK_CUR), count);
  return allowed < 0 ? -1 : real(fd, buffer, static_cast<size_t>(allowed));
}

ssize_t pread(int fd, void* buffer, size_t count, off_t at) {
  static auto const real = Next<ssize_t (*)(int, void*, size_t, off_t)>("pread");
  if (count == 0 || !Matches(fd)) return real(fd, buffer, count, at);
  ssize_t const allowed = Allowed(at, count);
  return allowed < 0 ? -1 : real(fd, buffer, static_cast<size_t>(allowed), at);
}

ssize_t pread64(int fd, void* buffer, size_t count, off64_t at) {
  static auto const real = Next<ssize_t (*)(int, void*, size_t, off64_t)>("pread64");
  if (count == 0 || !Matches(fd)) return real(fd, buffer, count, at);
  ssize_t const allowed = Allowed(static_cast<off_t>(at), count);
  return allowed < 0 ? -1 : real(fd, buffer, static_cast<size_t>(allowed), at);
}

// Whole or not at all: no reader of ours splits a vector read.
ssize_t readv(int fd, struct iovec const* vector, int count) {
  static auto const real = Next<ssize_t (*)(int, struct iovec const*, int)>("readv");
  size_t total = 0;
  for (int i = 0; i < count; ++i) total += vector[i].iov_len;
  if (total > 0 && Matches(fd) &&
      Allowed(::lseek(fd, 0, SEEK_CUR), total) != static_cast<ssize_t>(total)) {
    errno = EIO;
    return -1;
  }
  return real(fd, vector, count);
}

}  // extern "C"
