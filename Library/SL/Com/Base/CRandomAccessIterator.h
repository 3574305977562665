#pragma once

#include "SL/Com/Base/CBidirectionalIterator.h"
#include "SL/Com/Base/IRandomAccessIterator.h"

namespace SL {

template <bool K, class T>
class CRandomAccessIterator : public CBidirectionalIterator<K, T> {
public:
  typedef typename CIteratorTraits<K, T>::reference reference;

  CRandomAccessIterator() {}
  explicit CRandomAccessIterator(IRandomAccessIterator<K, T> const& implementation)
      : CBidirectionalIterator<K, T>(implementation) {}

  CRandomAccessIterator& operator++() {
    CBidirectionalIterator<K, T>::operator++();
    return *this;
  }
  CRandomAccessIterator operator++(int) {
    CRandomAccessIterator old(*this);
    CBidirectionalIterator<K, T>::operator++();
    return old;
  }
  CRandomAccessIterator& operator--() {
    CBidirectionalIterator<K, T>::operator--();
    return *this;
  }
  CRandomAccessIterator operator--(int) {
    CRandomAccessIterator old(*this);
    CBidirectionalIterator<K, T>::operator--();
    return old;
  }
  CRandomAccessIterator& operator+=(int n) {
    Implementer() += n;
    return *this;
  }
  CRandomAccessIterator& operator-=(int n) {
    Implementer() -= n;
    return *this;
  }
  CRandomAccessIterator operator+(int n) const {
    CRandomAccessIterator result(*this);
    result += n;
    return result;
  }
  CRandomAccessIterator operator-(int n) const {
    CRandomAccessIterator result(*this);
    result -= n;
    return result;
  }
  int operator-(CRandomAccessIterator const& other) const {
    return Implementer() - other.Implementer();
  }
  reference operator[](int n) const { return Implementer()[n]; }
  bool operator<(CRandomAccessIterator const& other) const {
    return Implementer() < other.Implementer();
  }
  bool operator>(CRandomAccessIterator const& other) const { return other < *this; }
  bool operator<=(CRandomAccessIterator const& other) const { return !(other < *this); }
  bool operator>=(CRandomAccessIterator const& other) const { return !(*this < other); }

  IRandomAccessIterator<K, T>& Implementer() {
    return static_cast<IRandomAccessIterator<K, T>&>(CTrivialIterator<K, T>::Implementer());
  }
  IRandomAccessIterator<K, T> const& Implementer() const {
    return static_cast<IRandomAccessIterator<K, T> const&>(CTrivialIterator<K, T>::Implementer());
  }
};

}  // namespace SL
