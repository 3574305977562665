#include "SL/Com/Buffer/CSampleTransformerFactory.h"

#include "SL/Com/Buffer/CSampleTransformer.h"

namespace SL {

boost::shared_ptr<ISampleTransformer> CSampleTransformerFactory::Create(CBitDepth const& bitDepth) {
  return DispatchBitDepth(bitDepth.GetValue(), [](auto depth) {
    return boost::shared_ptr<ISampleTransformer>(new CSampleTransformer<decltype(depth)::value>);
  });
}

}  // namespace SL
