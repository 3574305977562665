#pragma once

namespace GT {

// Adds storing the current element to an iterator interface Base; T is the
// parameter type, e.g. short const&.
template <typename T, typename Base>
class IOutputIterator : public Base {
public:
  virtual ~IOutputIterator() {}
  virtual void Set(T value) = 0;
};

}  // namespace GT
