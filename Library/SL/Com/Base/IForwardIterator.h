#pragma once

#include "SL/Com/Base/ITrivialIterator.h"

namespace SL {

template <bool K, class T>
class IForwardIterator : public ITrivialIterator<K, T> {
public:
  IForwardIterator* Clone() const override = 0;
  virtual void operator++() = 0;
};

}  // namespace SL
