#pragma once

namespace GT {

// Root of value descriptions.
class IValueDescription {
public:
  virtual ~IValueDescription() {}
};

}  // namespace GT
