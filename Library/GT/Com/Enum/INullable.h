#pragma once

namespace GT {

// An object that may be a null object standing in for a missing one.
class INullable {
public:
  virtual ~INullable() {}
  virtual bool IsNull() const = 0;
};

}  // namespace GT
