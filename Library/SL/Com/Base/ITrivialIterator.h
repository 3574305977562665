#pragma once

#include "SL/Com/Base/CIteratorTraits.h"
#include "SL/Com/Base/CObject.h"

namespace SL {

template <bool K, class T>
class ITrivialIterator : public CObject, public CIteratorTraits<K, T> {
public:
  typedef typename CIteratorTraits<K, T>::reference reference;
  typedef typename CIteratorTraits<K, T>::pointer pointer;
  ~ITrivialIterator() override {}
  ITrivialIterator* Clone() const override = 0;
  virtual reference operator*() const = 0;
  virtual pointer operator->() const = 0;
};

}  // namespace SL
