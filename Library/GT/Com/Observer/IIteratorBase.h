#pragma once

namespace GT {

// Untyped forward iteration: whether an element remains, and step on.
class IIteratorBase {
public:
  virtual ~IIteratorBase() {}
  virtual bool HasNext() = 0;
  virtual void Next() = 0;
};

}  // namespace GT
