#pragma once

#include "GT/Com/Observer/IIterator.h"
#include "GT/Com/Enum/IValueDescription.h"

#include <memory>
#include <string>

namespace GT {

// The range, step and names of a ranged number.
template <typename T>
class IRangedNumberDescription : public IValueDescription {
public:
  virtual T GetLowerBound() const = 0;
  virtual T GetUpperBound() const = 0;
  virtual T GetResolution() const = 0;
  // The values one by one; none at this level.
  virtual std::unique_ptr<IIterator<T, boost::mpl::empty_base> > Instances() const {
    return std::unique_ptr<IIterator<T, boost::mpl::empty_base> >();
  }
  virtual std::string ToString(T value) const = 0;
};

}  // namespace GT
