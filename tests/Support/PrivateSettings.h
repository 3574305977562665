#pragma once

#include <string>

namespace Support {

// The folder the test process keeps every user setting in, the toolkit's own
// among them, whatever a test sets XDG_CONFIG_HOME to for its scope.
std::string PrivateConfigFolder();

}  // namespace Support
