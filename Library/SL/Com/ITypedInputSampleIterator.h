#pragma once

#include "GT/Com/IInputIterator.h"
#include "SL/Com/CSampleTraits.h"
#include "SL/Com/IInputSampleIterator.h"

namespace SL {

// Input sample iterator of bit-depth code N, delivering the value type of N.
template <int N>
class ITypedInputSampleIterator
    : public GT::IInputIterator<typename CSampleTraits<N>::CValueType, IInputSampleIterator> {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  ~ITypedInputSampleIterator() override = default;
};

}  // namespace SL
