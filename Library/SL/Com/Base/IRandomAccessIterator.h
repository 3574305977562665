#pragma once

#include "SL/Com/Base/IBidirectionalIterator.h"

namespace SL {

template <bool K, class T>
class IRandomAccessIterator : public IBidirectionalIterator<K, T> {
public:
  typedef typename CIteratorTraits<K, T>::reference reference;
  IRandomAccessIterator* Clone() const override = 0;
  virtual void operator+=(int n) = 0;
  virtual void operator-=(int n) = 0;
  // Distance in elements; 0 for an iterator of another kind.
  virtual int operator-(IRandomAccessIterator const& other) const = 0;
  virtual reference operator[](int n) const = 0;
  // False for an iterator of another kind.
  virtual bool operator<(IRandomAccessIterator const& other) const = 0;
};

}  // namespace SL
