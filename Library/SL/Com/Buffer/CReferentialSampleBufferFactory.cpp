#include "SL/Com/Buffer/CReferentialSampleBufferFactory.h"

namespace SL {

boost::shared_ptr<ISampleBuffer> CReferentialSampleBufferFactory::Create() {
  return boost::shared_ptr<ISampleBuffer>();
}

}  // namespace SL
