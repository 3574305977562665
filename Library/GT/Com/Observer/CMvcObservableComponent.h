#pragma once

#include "GT/Com/Observer/CSafeReferenceSet.h"
#include "GT/Com/Observer/IMvcObserver.h"

#include <boost/any.hpp>

namespace GT {

// The observers of an observable, held weakly; observables add to it directly
// (priority 0) and notify through it.
class CMvcObservableComponent : public CSafeReferenceSet<IMvcObserver> {
public:
  // Calls Update on every live observer in the set's order, keeping each alive
  // during its own call. An exception from Update reaches the caller and the
  // remaining observers are not called.
  void NotifyObservers(boost::any const& a, boost::any const& b, boost::any const& c) const;
};

}  // namespace GT
