#pragma once

#include "SL/Com/Base/CTrivialIteratorImplement.h"

namespace SL {

template <bool K, class T, class P, template <bool, class> class I>
class CForwardIteratorImplement : public CTrivialIteratorImplement<K, T, P, I> {
public:
  typedef typename CTrivialIteratorImplement<K, T, P, I>::CPosition CPosition;
  explicit CForwardIteratorImplement(CPosition position)
      : CTrivialIteratorImplement<K, T, P, I>(position) {}
  void operator++() override { ++this->mPosition; }
};

}  // namespace SL
