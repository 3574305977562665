#pragma once

#include "GT/Com/Observer/IInputIterator.h"
#include "SL/Com/Format/CSampleTraits.h"
#include "SL/Com/Stream/IInputSampleIterator.h"

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
