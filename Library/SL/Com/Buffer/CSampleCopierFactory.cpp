#include "SL/Com/Buffer/CSampleCopierFactory.h"

#include "SL/Com/Buffer/CSampleCopier.h"

namespace SL {

boost::shared_ptr<ISampleCopier> CSampleCopierFactory::Create(CBitDepth const& bitDepth) {
  typedef boost::shared_ptr<ISampleCopier> CResult;
  switch (bitDepth.GetValue()) {
    case 65544:
      return CResult(new CSampleCopier<65544>);
    case 65552:
      return CResult(new CSampleCopier<65552>);
    case 65560:
      return CResult(new CSampleCopier<65560>);
    case 65568:
      return CResult(new CSampleCopier<65568>);
    case 131104:
      return CResult(new CSampleCopier<131104>);
    case 131136:
      return CResult(new CSampleCopier<131136>);
    default:
      return CResult();
  }
}

}  // namespace SL
