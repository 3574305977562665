#include "SL/Com/Buffer/CSampleTransformerFactory.h"

#include "SL/Com/Buffer/CSampleTransformer.h"

namespace SL {

boost::shared_ptr<ISampleTransformer> CSampleTransformerFactory::Create(CBitDepth const& bitDepth) {
  typedef boost::shared_ptr<ISampleTransformer> CResult;
  switch (bitDepth.GetValue()) {
    case 65544:
      return CResult(new CSampleTransformer<65544>);
    case 65552:
      return CResult(new CSampleTransformer<65552>);
    case 65560:
      return CResult(new CSampleTransformer<65560>);
    case 65568:
      return CResult(new CSampleTransformer<65568>);
    case 131104:
      return CResult(new CSampleTransformer<131104>);
    case 131136:
      return CResult(new CSampleTransformer<131136>);
    default:
      return CResult();
  }
}

}  // namespace SL
