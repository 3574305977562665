#pragma once

#include "SL/Com/Base/CForwardIterator.h"
#include "SL/Com/Base/IBidirectionalIterator.h"

namespace SL {

template <bool K, class T>
class CBidirectionalIterator : public CForwardIterator<K, T> {
public:
  CBidirectionalIterator() {}
  explicit CBidirectionalIterator(IBidirectionalIterator<K, T> const& implementation)
      : CForwardIterator<K, T>(implementation) {}

  CBidirectionalIterator& operator++() {
    CForwardIterator<K, T>::operator++();
    return *this;
  }
  CBidirectionalIterator operator++(int) {
    CBidirectionalIterator old(*this);
    CForwardIterator<K, T>::operator++();
    return old;
  }
  CBidirectionalIterator& operator--() {
    --Implementer();
    return *this;
  }
  CBidirectionalIterator operator--(int) {
    CBidirectionalIterator old(*this);
    --Implementer();
    return old;
  }

  IBidirectionalIterator<K, T>& Implementer() {
    return static_cast<IBidirectionalIterator<K, T>&>(CTrivialIterator<K, T>::Implementer());
  }
  IBidirectionalIterator<K, T> const& Implementer() const {
    return static_cast<IBidirectionalIterator<K, T> const&>(CTrivialIterator<K, T>::Implementer());
  }
};

}  // namespace SL
