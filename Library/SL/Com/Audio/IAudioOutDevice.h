#pragma once

#include "SL/Com/Audio/IAudioDevice.h"
#include "SL/Com/Stream/IInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

class IAudioOutDevice : public IAudioDevice {
public:
  ~IAudioOutDevice() override {}

  // Starts playing the source; false when busy, when the device cannot take
  // the source's format, or when the stream cannot start (the device stays
  // idle then).
  virtual bool Play(boost::shared_ptr<IInputSampleIterator> source) = 0;
  // True from a successful Play until Stop, or until the source has run dry
  // and the device has retired the playback.
  virtual bool IsPlaying() const = 0;
  // Stops at once; on return no sample of the source is taken any more.
  virtual bool Stop() = 0;
};

}  // namespace SL
