#pragma once

#include <string>

namespace GT {

// Files written under a temporary name beside their final one and put in
// place whole, so that a failure leaves what was there before. Declared here
// for portable code and implemented by the platform side.

// Makes an empty file beside path, with the access a new file gets, and
// returns its name; "" when none can be made or path names a folder.
std::string CreateFileBeside(std::string const& path);

// Writes a closed file's data through to its device; false when that fails.
bool SyncFile(std::string const& path);

// Puts a finished file in place of path, replacing what is there, and makes
// the change durable; false, with nothing replaced, when it cannot.
bool ReplaceFileWith(std::string const& path, std::string const& finished);

}  // namespace GT
