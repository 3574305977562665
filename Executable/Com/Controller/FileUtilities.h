#pragma once

#include <string>

namespace VQ7 {

// The application's private temporary folder: made once per process with
// mkdtemp under $TMPDIR (default /tmp), mode 0700, removed with its contents
// at exit. When it cannot be made, the folder that holds the application.
// No trailing "/".
std::string GetTemporaryDirectoryName();

}  // namespace VQ7
