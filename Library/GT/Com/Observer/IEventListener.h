#pragma once

namespace GT {

// Root of the listener interfaces.
class IEventListener {
public:
  virtual ~IEventListener() {}
};

}  // namespace GT
