#pragma once

#include "SL/Com/Base/CForwardIteratorImplement.h"

namespace SL {

template <bool K, class T, class P, template <bool, class> class I>
class CBidirectionalIteratorImplement : public CForwardIteratorImplement<K, T, P, I> {
public:
  typedef typename CForwardIteratorImplement<K, T, P, I>::CPosition CPosition;
  explicit CBidirectionalIteratorImplement(CPosition position)
      : CForwardIteratorImplement<K, T, P, I>(position) {}
  void operator--() override { --this->mPosition; }
};

}  // namespace SL
