#pragma once

#include <string>

namespace SL {

class INamable {
public:
  virtual ~INamable() {}
  virtual void SetName(std::string const& name) = 0;
  virtual std::string const& GetName() const = 0;
};

}  // namespace SL
