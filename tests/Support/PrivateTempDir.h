#pragma once

#include "Support/AudioFixtures.h"

#include <cstdlib>
#include <string>

namespace Support {

using CPrivateTempDir = TestSupport::CScratchDir;

// Sets an environment variable for one scope and puts the old value back.
class CScopedEnv {
public:
  CScopedEnv(char const* name, std::string const& value) : mName(name) {
    if (char const* old = std::getenv(name)) {
      mHad = true;
      mOld = old;
    }
    ::setenv(name, value.c_str(), 1);
  }
  ~CScopedEnv() {
    if (mHad)
      ::setenv(mName.c_str(), mOld.c_str(), 1);
    else
      ::unsetenv(mName.c_str());
  }
  CScopedEnv(CScopedEnv const&) = delete;
  CScopedEnv& operator=(CScopedEnv const&) = delete;

private:
  std::string mName;
  std::string mOld;
  bool mHad = false;
};

}  // namespace Support
