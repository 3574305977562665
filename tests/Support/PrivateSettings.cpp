// Whatever the tests or the toolkit store as a user's settings, caches or data
// (the file dialog's history among them) goes to a folder of the test process
// of its own, removed when the tests end; never the settings of whoever runs
// them. A test that wants its own folder sets the variable for its scope.

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

class CPrivateSettings : public ::testing::Environment {
public:
  CPrivateSettings() {
    for (char const* variable :
         {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
      ::setenv(variable, mDir.File(variable).c_str(), 1);
  }

private:
  TestSupport::CScratchDir mDir;
};

// Made before main, so that even what runs before the first test finds it.
::testing::Environment* const sPrivateSettings =
    ::testing::AddGlobalTestEnvironment(new CPrivateSettings());

}  // namespace
