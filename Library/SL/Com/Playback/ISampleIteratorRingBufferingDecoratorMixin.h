#pragma once

#include "SL/Com/Buffer/IRingSampleBufferMixin.h"

namespace SL {

class ISampleIteratorRingBufferingDecoratorMixin {
public:
  virtual ~ISampleIteratorRingBufferingDecoratorMixin() {}
  virtual IRingSampleBufferMixin* GetRingBuffer() = 0;
};

}  // namespace SL
