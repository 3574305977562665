#include "SL/Com/Buffer/CRingSampleBufferFactory.h"

#include "SL/Com/Buffer/CRingSampleBuffer.h"

namespace SL {

boost::shared_ptr<ISampleBuffer> CRingSampleBufferFactory::Create() {
  long const frames = BufferFrameCount();
  int const channels = mAttribute.mChannelCount;
  return DispatchBitDepth(mAttribute.mBitDepth.GetValue(), [channels, frames](auto depth) {
    return boost::shared_ptr<ISampleBuffer>(new CRingSampleBuffer<decltype(depth)::value>(
        channels, frames, GT::CEndianness::sPlatform));
  });
}

}  // namespace SL
