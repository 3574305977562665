#include "SL/Com/Buffer/CRingSampleBufferFactory.h"

#include "SL/Com/Buffer/CRingSampleBuffer.h"

namespace SL {

namespace {

template <int N>
boost::shared_ptr<ISampleBuffer> MakeRing(CSampleAttribute const& attribute, long frames) {
  return boost::shared_ptr<ISampleBuffer>(
      new CRingSampleBuffer<N>(attribute.mChannelCount, frames, GT::CEndianness::sPlatform));
}

}  // namespace

boost::shared_ptr<ISampleBuffer> CRingSampleBufferFactory::Create() {
  long const frames = BufferFrameCount();
  switch (mAttribute.mBitDepth.GetValue()) {
    case 65544:
      return MakeRing<65544>(mAttribute, frames);
    case 65552:
      return MakeRing<65552>(mAttribute, frames);
    case 65560:
      return MakeRing<65560>(mAttribute, frames);
    case 65568:
      return MakeRing<65568>(mAttribute, frames);
    case 131104:
      return MakeRing<131104>(mAttribute, frames);
    case 131136:
      return MakeRing<131136>(mAttribute, frames);
    default:
      return boost::shared_ptr<ISampleBuffer>();
  }
}

}  // namespace SL
