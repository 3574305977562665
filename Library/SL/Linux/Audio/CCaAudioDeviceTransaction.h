#pragma once

#include "SL/Com/Buffer/ISampleCopier.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CCaAudioDeviceBase.h"
#include "SL/Linux/Audio/CConverter.h"
#include "SL/Linux/Audio/CDeviceIO.h"
#include "SL/Linux/Audio/CDevicePropertyListener.h"

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace SL {

// One playback or recording on a platform device: the device IO, a
// converter between the stream's format and the device's, the copier that
// moves frames between the iterator and the converter's buffer on the
// audio thread, and a watch on the device's format that restarts the stream
// when it changes.
//
// Start, stop, restart and teardown are serialised by a lock the audio
// thread never takes; the state word changes by atomic operations.
class CCaAudioDeviceBase::CTransaction final : public CAudioDeviceBase::ATransaction {
public:
  enum EState : std::uint32_t { Valid = 1, Input = 2, Streaming = 4, Exhausted = 8 };

  CTransaction(CCaAudioDeviceBase& device, boost::shared_ptr<IInputSampleIterator> source);
  CTransaction(CCaAudioDeviceBase& device, boost::shared_ptr<IOutputSampleIterator> destination);
  // Stops the watch (waiting for a restart under way) and the stream (waiting
  // for callbacks) before anything they use goes.
  ~CTransaction() override;

  bool IsValid() const override { return (mState.load() & Valid) != 0; }
  bool StartStreaming() override;
  bool StopStreaming() override { return InternalStopStreaming(false); }
  bool AbortStreaming() override { return InternalStopStreaming(true); }
  bool IsStreaming() const override { return (mState.load() & Streaming) != 0; }
  bool HasStopped() const override { return !IsStreaming(); }
  bool HasExhausted() const override { return (mState.load() & Exhausted) != 0; }

  bool IsInput() const { return (mState.load() & Input) != 0; }
  // After a format change: the stream again with a converter to the new
  // format. A failure leaves the transaction exhausted, for the runner.
  bool RestartStreaming();
  // On the audio thread only marks the stream stopped; the rest waits for
  // the teardown.
  bool InternalStopStreaming(bool wait);
  bool HandleInput(AudioBufferList const* list);
  bool HandleOutput(AudioBufferList* list);
  // The frames moved since last asked.
  long TakeFrames() { return static_cast<long>(mFrameCounter.exchange(0)); }

  static bool CallbackInputProc(AudioTimeStamp const* now, AudioBufferList const* input,
                                AudioTimeStamp const* inputTime, void* user);
  static bool CallbackOutputProc(AudioTimeStamp const* now, AudioBufferList* output,
                                 AudioTimeStamp const* outputTime, void* user);
  static bool CallbackConverterProc(std::uint32_t& frames, void* buffer, void* user);
  static AudioStatus CallbackPropertyListenerProc(AudioDeviceId device, std::uint32_t channel,
                                                  bool isInput, AudioPropertyId property,
                                                  void* user);

private:
  void Construct();
  void Initialize();
  // With the stream lock held and no IO running: reads the device's format,
  // makes the converter and its buffer. False on any failure, an
  // unreadable device format included.
  bool OpenStream(CoreAudio::CAudioStreamDesc const& streamFormat);

  std::atomic<std::uint32_t> mState;
  CCaAudioDeviceBase& mDevice;
  CoreAudio::CDeviceIO mDeviceIO;
  CoreAudio::CAudioStreamDesc mDeviceFormat;
  CoreAudio::CConverter mConverter;
  CoreAudio::CDevicePropertyListener mFormatListener;
  boost::shared_ptr<ISampleCopier> mCopier;
  std::atomic<std::uint32_t> mFrameCounter;
  std::mutex mStreamMutex;
  // The start of a frame the source stopped inside: held back until the
  // rest comes, so the channels keep their places.
  std::vector<unsigned char> mHeld;
  std::size_t mHeldBytes;
};

}  // namespace SL
