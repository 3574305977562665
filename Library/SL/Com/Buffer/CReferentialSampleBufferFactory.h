#pragma once

#include "SL/Com/Buffer/ASampleBufferFactory.h"

namespace SL {

// The audio device's sizing rule; it makes no buffer of its own.
class CReferentialSampleBufferFactory : public ASampleBufferFactory {
public:
  boost::shared_ptr<ISampleBuffer> Create() override;
};

}  // namespace SL
