#pragma once

#include "GT/Com/Enum/IRangedNumber.h"

#include <memory>
#include <string>

namespace GT {

// A ranged number whose values have names.
template <typename T>
class IEnumeration : public IRangedNumber<T> {
public:
  using IRangedNumber<T>::Create;
  virtual std::unique_ptr<IEnumeration> Create(std::string const& name) const = 0;
};

}  // namespace GT
