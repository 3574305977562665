#pragma once

namespace GT {

// Adds reading the current element to an iterator interface Base.
template <typename T, typename Base>
class IInputIterator : public Base {
public:
  virtual ~IInputIterator() {}
  virtual T Get() = 0;
};

}  // namespace GT
