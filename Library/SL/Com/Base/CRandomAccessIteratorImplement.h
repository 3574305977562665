#pragma once

#include "SL/Com/Base/CBidirectionalIteratorImplement.h"
#include "SL/Com/Base/IRandomAccessIterator.h"

namespace SL {

template <bool K, class T, class P, template <bool, class> class I = IRandomAccessIterator>
class CRandomAccessIteratorImplement : public CBidirectionalIteratorImplement<K, T, P, I> {
public:
  typedef typename CBidirectionalIteratorImplement<K, T, P, I>::CPosition CPosition;
  typedef typename CIteratorTraits<K, T>::reference reference;

  explicit CRandomAccessIteratorImplement(CPosition position)
      : CBidirectionalIteratorImplement<K, T, P, I>(position) {}

  CRandomAccessIteratorImplement* Clone() const override {
    return new CRandomAccessIteratorImplement(this->mPosition);
  }
  bool Equals(CObject const& other) const override {
    auto const* o = dynamic_cast<CRandomAccessIteratorImplement const*>(&other);
    return o && o->mPosition == this->mPosition;
  }
  void operator+=(int n) override { this->mPosition += n; }
  void operator-=(int n) override { this->mPosition -= n; }
  int operator-(IRandomAccessIterator<K, T> const& other) const override {
    auto const* o = dynamic_cast<CRandomAccessIteratorImplement const*>(&other);
    return o ? static_cast<int>(this->mPosition - o->mPosition) : 0;
  }
  reference operator[](int n) const override { return static_cast<reference>(*this->mPosition[n]); }
  bool operator<(IRandomAccessIterator<K, T> const& other) const override {
    auto const* o = dynamic_cast<CRandomAccessIteratorImplement const*>(&other);
    return o && this->mPosition < o->mPosition;
  }
};

}  // namespace SL
