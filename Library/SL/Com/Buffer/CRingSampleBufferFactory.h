#pragma once

#include "SL/Com/Buffer/ASampleBufferFactory.h"

namespace SL {

// Makes rings of the attribute's bit depth and channel count, BufferFrameCount()
// frames long, in the platform's byte order; none for other bit depths.
class CRingSampleBufferFactory : public ASampleBufferFactory {
public:
  boost::shared_ptr<ISampleBuffer> Create() override;
};

}  // namespace SL
