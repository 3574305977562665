#pragma once

#include "SL/Com/Base/CIteratorTraits.h"

namespace SL {

// Holds a position in a container of shared pointers to a base B and
// presents its element as T (static conversion: the element must be a T).
template <bool K, class T, class P, template <bool, class> class I>
class CTrivialIteratorImplement : public I<K, T> {
public:
  typedef typename P::template Iterator<K>::type CPosition;
  typedef typename CIteratorTraits<K, T>::reference reference;
  typedef typename CIteratorTraits<K, T>::pointer pointer;

  explicit CTrivialIteratorImplement(CPosition position) : mPosition(position) {}

  reference operator*() const override { return static_cast<reference>(**mPosition); }
  pointer operator->() const override {
    return *mPosition ? &static_cast<reference>(**mPosition) : nullptr;
  }
  CPosition const& Position() const { return mPosition; }

protected:
  CPosition mPosition;
};

}  // namespace SL
