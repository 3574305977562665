#pragma once

#include "SL/Com/Base/IForwardIterator.h"

namespace SL {

template <bool K, class T>
class IBidirectionalIterator : public IForwardIterator<K, T> {
public:
  IBidirectionalIterator* Clone() const override = 0;
  virtual void operator--() = 0;
};

}  // namespace SL
