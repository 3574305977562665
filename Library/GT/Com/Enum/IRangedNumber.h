#pragma once

#include "GT/Com/Enum/IRangedNumberDescription.h"

#include <memory>
#include <string>

namespace GT {

// An integer value with a described range.
template <typename T>
class IRangedNumber {
public:
  // Thrown for a value outside the range; carries the range's bounds.
  class CError {
  public:
    CError(T lower, T upper) : mLowerBound(lower), mUpperBound(upper) {}
    T mLowerBound;
    T mUpperBound;
  };

  virtual ~IRangedNumber() {}
  virtual std::unique_ptr<IRangedNumber> Create(T value) const = 0;
  virtual IRangedNumber& Assign(IRangedNumber const& other) = 0;
  virtual T GetValue() const = 0;
  virtual std::string ToString() const { return GetDescription().ToString(GetValue()); }
  virtual IRangedNumberDescription<T> const& GetDescription() const = 0;
  virtual bool Verify(T value) const = 0;
};

}  // namespace GT
