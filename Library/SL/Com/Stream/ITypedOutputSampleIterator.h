#pragma once

#include "GT/Com/Observer/IOutputIterator.h"
#include "SL/Com/Format/CSampleTraits.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"

namespace SL {

// Output sample iterator of bit-depth code N, accepting the value type of N.
template <int N>
class ITypedOutputSampleIterator
    : public GT::IOutputIterator<typename CSampleTraits<N>::CValueType const&,
                                 IOutputSampleIterator> {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  ~ITypedOutputSampleIterator() override = default;
};

}  // namespace SL
