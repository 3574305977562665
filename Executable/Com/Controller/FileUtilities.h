#pragma once

#include <string>

namespace VQ7 {

// The user's temporary-items folder: the process's private temporary folder
// (made once, mode 0700, removed at exit); when there is none, the folder
// that holds the application. No trailing "/".
std::string GetTemporaryDirectoryName();

}  // namespace VQ7
