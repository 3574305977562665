#pragma once

#include "SL/Com/Audio/IAudioDevice.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

class IAudioInDevice : public IAudioDevice {
public:
  ~IAudioInDevice() override {}

  // Starts recording into the destination; false when busy or when the
  // stream cannot start.
  virtual bool Record(boost::shared_ptr<IOutputSampleIterator> destination) = 0;
  virtual bool IsRecording() const = 0;
  // Stops at once; on return no sample is written to the destination any more.
  virtual bool Stop() = 0;
};

}  // namespace SL
