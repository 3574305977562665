#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace Support {

// A private folder made with mkdtemp under $TMPDIR (or /tmp), removed with its contents.
class CPrivateTempDir {
public:
  CPrivateTempDir() {
    char const* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && tmp[0] ? tmp : "/tmp") + "/vq7test.XXXXXX";
    if (char* made = ::mkdtemp(&pattern[0])) mPath = made;
  }
  ~CPrivateTempDir() {
    if (mPath.empty()) return;
    std::error_code ec;
    // Folders made read-only by a test must be opened up before removal.
    for (auto it = std::filesystem::recursive_directory_iterator(mPath, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::error_code ignored;
      std::filesystem::permissions(
          it->path(), std::filesystem::perms::owner_all,
          std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ignored);
    }
    std::filesystem::remove_all(mPath, ec);
  }
  CPrivateTempDir(CPrivateTempDir const&) = delete;
  CPrivateTempDir& operator=(CPrivateTempDir const&) = delete;

  std::string const& Path() const { return mPath; }
  std::string operator/(std::string const& name) const { return mPath + "/" + name; }

private:
  std::string mPath;
};

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
