#pragma once

#include "GT/Com/Base/IProfile.h"

#include <string>

namespace GT {

// Preferences of the application in one INI file under $XDG_CONFIG_HOME
// (default ~/.config). Strings are stored as byte arrays and longs as plain
// 32-bit decimal numbers, so each kind reads back only as itself; every write
// is flushed at once, and one the file cannot take is reported and leaves
// the old value. Instances hold no state: all of them see one file.
class CIniProfile : public IProfile {
public:
  std::string Read(std::string const& key, std::string const& defaultValue) const override;
  long Read(std::string const& key, long defaultValue) const override;
  bool Write(std::string const& key, std::string const& value) override;
  bool Write(std::string const& key, long value) override;

  // Where the preferences live for the current environment.
  static std::string FilePath();

  // Longest string value a read hands back.
  static constexpr std::size_t nMaxStringBytes = 255;
};

// One process-wide profile, created on first use.
CIniProfile& IniProfile();
CIniProfile& IniProfileA();

}  // namespace GT
