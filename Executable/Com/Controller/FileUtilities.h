#pragma once

#include <string>

namespace VQ7 {

// The user's temporary-items folder: the process's private temporary folder
// (made once, mode 0700, removed at exit); "" when it cannot be made, for the
// caller to report. No trailing "/".
std::string GetTemporaryDirectoryName();

}  // namespace VQ7
