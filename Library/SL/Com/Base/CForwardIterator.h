#pragma once

#include "SL/Com/Base/CTrivialIterator.h"
#include "SL/Com/Base/IForwardIterator.h"

namespace SL {

template <bool K, class T>
class CForwardIterator : public CTrivialIterator<K, T> {
public:
  CForwardIterator() {}
  explicit CForwardIterator(IForwardIterator<K, T> const& implementation)
      : CTrivialIterator<K, T>(implementation) {}

  CForwardIterator& operator++() {
    ++Implementer();
    return *this;
  }
  CForwardIterator operator++(int) {
    CForwardIterator old(*this);
    ++Implementer();
    return old;
  }

  IForwardIterator<K, T>& Implementer() {
    return static_cast<IForwardIterator<K, T>&>(CTrivialIterator<K, T>::Implementer());
  }
  IForwardIterator<K, T> const& Implementer() const {
    return static_cast<IForwardIterator<K, T> const&>(CTrivialIterator<K, T>::Implementer());
  }
};

}  // namespace SL
