#pragma once

#include "GT/Com/Observer/CMvcObservableComponent.h"
#include "GT/Com/Observer/IObservable.h"
#include "SL/Com/Audio/IAudioDeviceFacade.h"
#include "SL/Com/Audio/IAudioOutDevice.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Stream/IInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace VQ7 {

// The preview player: plays a pad's coded files or a WAV/AIFF file on the
// default output device, as 32-bit float in two channels. Main thread only;
// a play request while something plays is ignored.
class CPlayer : public GT::IObservable {
public:
  explicit CPlayer(boost::shared_ptr<SL::IAudioDeviceFacade> facade);
  ~CPlayer() override;

  // Seconds; longer buffers only hold memory.
  static constexpr double nLongestBufferTime = 10.0;
  static constexpr double nDefaultRingBufferTime = 0.6;

  bool ClassInvariant() const { return mFacade && mDevice; }

  void SetDeviceFacade(boost::shared_ptr<SL::IAudioDeviceFacade> facade);
  // Seconds; a value that is not a number of seconds a device can buffer
  // leaves the time as it was.
  void SetDeviceBufferTime(double seconds);
  double GetDeviceBufferTime() const { return mDeviceBufferTime; }
  // Seconds of the ring of each playback, bounded as the device time is.
  void SetRingBufferTime(double seconds);
  double GetRingBufferTime() const { return mRingBufferTime; }

  void Stop();
  bool IsPlaying() const { return mDevice && mDevice->IsPlaying(); }

  // One file: mono; two: left then right.
  void PlayKvacWave(std::vector<std::string> const& files, bool lofi, long length);
  void PlayLinearWave(std::string const& path);
  // What the 16-bit chain plays; PlayLinearWave refuses anything else.
  static bool IsPlayable(SL::CSampleAttribute const& attribute);

  // Held weakly; told when a pad starts playing.
  void AddView(boost::shared_ptr<GT::IMvcObserver> observer);
  void NotifyViews();

  boost::shared_ptr<SL::IInputSampleIterator> CreateKvacWaveIterator(
      std::vector<std::string> const& files, bool lofi, long length);
  boost::shared_ptr<SL::IInputSampleIterator> CreateLinearWaveIterator(std::string const& path);
  boost::shared_ptr<SL::IInputSampleIterator> Decorate(
      boost::shared_ptr<SL::IInputSampleIterator> source);

private:
  void Play(boost::shared_ptr<SL::IInputSampleIterator> source, bool notify);

  double mRingBufferTime;
  double mDeviceBufferTime;
  boost::shared_ptr<SL::IAudioDeviceFacade> mFacade;
  boost::shared_ptr<SL::IAudioOutDevice> mDevice;
  boost::shared_ptr<GT::CMvcObservableComponent> mObservers;
};

}  // namespace VQ7
