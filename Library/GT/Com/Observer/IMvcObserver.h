#pragma once

#include <boost/any.hpp>

namespace GT {

// Receives change notifications; the meaning of the arguments is up to the
// observable.
class IMvcObserver {
public:
  virtual ~IMvcObserver() {}
  virtual void Update(boost::any const& a, boost::any const& b, boost::any const& c) = 0;
};

}  // namespace GT
