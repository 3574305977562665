#pragma once

#include <string>

namespace GT {

// Key-value store for user settings; strings and longs are kept apart. A
// write that cannot be stored returns false and leaves the old value.
class IProfile {
public:
  virtual ~IProfile() {}
  virtual std::string Read(std::string const& key, std::string const& defaultValue) const = 0;
  virtual long Read(std::string const& key, long defaultValue) const = 0;
  virtual bool Write(std::string const& key, std::string const& value) = 0;
  virtual bool Write(std::string const& key, long value) = 0;
};

}  // namespace GT
