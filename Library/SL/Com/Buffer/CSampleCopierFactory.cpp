#include "SL/Com/Buffer/CSampleCopierFactory.h"

#include "SL/Com/Buffer/CSampleCopier.h"

namespace SL {

boost::shared_ptr<ISampleCopier> CSampleCopierFactory::Create(CBitDepth const& bitDepth) {
  return DispatchBitDepth(bitDepth.GetValue(), [](auto depth) {
    return boost::shared_ptr<ISampleCopier>(new CSampleCopier<decltype(depth)::value>);
  });
}

}  // namespace SL
