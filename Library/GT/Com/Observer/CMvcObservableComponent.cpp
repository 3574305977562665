#include "GT/Com/Observer/CMvcObservableComponent.h"

namespace GT {

void CMvcObservableComponent::NotifyObservers(boost::any const& a, boost::any const& b,
                                              boost::any const& c) const {
  auto const iterator = CreateIterator();
  while (iterator->HasNext()) {
    boost::shared_ptr<IMvcObserver> const observer = iterator->Next();
    if (observer) observer->Update(a, b, c);
  }
}

}  // namespace GT
