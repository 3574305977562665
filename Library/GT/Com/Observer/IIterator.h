#pragma once

#include <boost/mpl/empty_base.hpp>

namespace GT {

// Forward iteration that hands out each element: Next() returns the element
// and moves on.
template <typename T, typename Base = boost::mpl::empty_base>
class IIterator : public Base {
public:
  virtual ~IIterator() {}
  virtual bool HasNext() = 0;
  virtual T Next() = 0;
};

}  // namespace GT
