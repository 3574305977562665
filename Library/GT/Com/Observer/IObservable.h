#pragma once

namespace GT {

// Marks a class whose changes are observed.
class IObservable {
public:
  virtual ~IObservable() {}
};

}  // namespace GT
