// Whatever the tests or the toolkit store as a user's settings, caches, data
// or runtime files (the file dialog's history among them) goes to a folder of
// the test process of its own, removed when the tests end; never the settings
// of whoever runs them. A test that wants its own folder sets the variable
// for its scope.

#include "Support/PrivateSettings.h"

#include "Support/AudioFixtures.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace {

class CPrivateSettings : public ::testing::Environment {
public:
  CPrivateSettings() {
    for (char const* variable :
         {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
      ::setenv(variable, mDir.File(variable).c_str(), 1);
    // Else the toolkit makes its runtime folder in TMPDIR.
    std::string const runtime = mDir / "XDG_RUNTIME_DIR";
    if (::mkdir(runtime.c_str(), 0700) == 0) ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    // The toolkit fixes its own settings folder the first time it is used and
    // writes there up to the process's exit: fixed here, it never follows a
    // test's scoped XDG_CONFIG_HOME into a folder that test removes.
    QString const config = QString::fromStdString(ConfigFolder());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
  }

  std::string ConfigFolder() const { return mDir / "XDG_CONFIG_HOME"; }

private:
  TestSupport::CScratchDir mDir;
};

// Made before main, so that even what runs before the first test finds it.
CPrivateSettings* const sPrivateSettings =
    static_cast<CPrivateSettings*>(::testing::AddGlobalTestEnvironment(new CPrivateSettings()));

}  // namespace

namespace Support {

std::string PrivateConfigFolder() { return sPrivateSettings->ConfigFolder(); }

}  // namespace Support
