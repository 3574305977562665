#pragma once

#include <functional>
#include <string>

namespace Support {

// Runs body in a forked child that has its own user and mount namespaces with a
// small tmpfs mounted on mountPoint (an existing empty folder). The body returns
// "" on success or a description of what went wrong.
struct CPrivateMountResult {
  bool available = false;  // false: namespaces or tmpfs not permitted here
  std::string failure;     // empty when the body succeeded
};

CPrivateMountResult RunWithPrivateTmpfs(std::string const& mountPoint, std::string const& options,
                                        std::function<std::string()> const& body);

// Runs body in a forked child as an unprivileged user (uid and gid 65534 when the
// tests run as root, the current user otherwise), so that permissions bind.
CPrivateMountResult RunUnprivileged(std::function<std::string()> const& body);

// Remounts a tmpfs mounted by RunWithPrivateTmpfs read-only (call from inside the body).
bool RemountReadOnly(std::string const& mountPoint);

}  // namespace Support
