#pragma once

#include <memory>

#include "SL/Com/Base/CIteratorTraits.h"
#include "SL/Com/Base/ITrivialIterator.h"

namespace SL {

// A value iterator over a polymorphic implementation held on the heap;
// copies clone the implementation.
template <bool K, class T>
class CTrivialIterator : public CIteratorTraits<K, T> {
public:
  typedef typename CIteratorTraits<K, T>::reference reference;
  typedef typename CIteratorTraits<K, T>::pointer pointer;

  CTrivialIterator() {}
  explicit CTrivialIterator(ITrivialIterator<K, T> const& implementation)
      : mImplementer(implementation.Clone()) {}
  CTrivialIterator(CTrivialIterator const& other)
      : mImplementer(other.mImplementer ? other.mImplementer->Clone() : nullptr) {}
  CTrivialIterator& operator=(CTrivialIterator const& other) {
    CTrivialIterator copy(other);
    mImplementer.swap(copy.mImplementer);
    return *this;
  }

  reference operator*() const { return *Implementer(); }
  pointer operator->() const { return Implementer().operator->(); }
  bool operator==(CTrivialIterator const& other) const {
    return mImplementer && other.mImplementer && mImplementer->Equals(*other.mImplementer);
  }
  bool operator!=(CTrivialIterator const& other) const { return !(*this == other); }

  ITrivialIterator<K, T>& Implementer() { return *mImplementer; }
  ITrivialIterator<K, T> const& Implementer() const { return *mImplementer; }

private:
  std::unique_ptr<ITrivialIterator<K, T> > mImplementer;
};

}  // namespace SL
