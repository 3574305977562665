#pragma once

#include "GT/Com/Thread/IRunnable.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Playback/CRingBufferer.h"
#include "SL/Com/Playback/ISampleIteratorRingBufferingDecoratorMixin.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"

#include <boost/shared_ptr.hpp>

#include <atomic>

namespace SL {

template <int N>
class CSampleIteratorRingBufferingDecorator;

// Puts a ring between a 16-bit source and its reader. A fill thread of its
// own reads the source and tops the ring up every 10 ms; the reader takes
// samples from the ring only. When the ring runs dry before the source has
// ended (a slow card), the reader gets silence, a frame at a time, and never
// waits on file reading; the stream ends once the source has ended and the
// ring is drained.
template <>
class CSampleIteratorRingBufferingDecorator<nInteger16>
    : public ITypedInputSampleIterator<nInteger16>,
      public GT::IRunnable,
      public ISampleIteratorRingBufferingDecoratorMixin {
public:
  typedef ITypedSampleBuffer<nInteger16>::CInputIterator CReader;

  // ringTime in seconds (at least 128 frames), priority on the thread scale.
  // On return the ring holds the start of the stream and the fill thread
  // runs. A source that does not deliver 16-bit samples is refused with
  // std::invalid_argument.
  CSampleIteratorRingBufferingDecorator(boost::shared_ptr<IInputSampleIterator> source,
                                        double ringTime, int priority);
  // Stops and joins the fill thread.
  ~CSampleIteratorRingBufferingDecorator() override;

  bool HasNext() override;
  void Next() override;
  CSampleAttribute const& GetAttribute() const override;
  long ToCurrentFrame(long frames) const override;
  short Get() override;
  // The decorator only plays forward: no effect.
  void SetLocation(long frame) override;
  long GetLocation() const override;
  // The source frame the reader has reached, plus offset: where the source
  // stood at construction plus the whole frames read since. Counted on the
  // reader's side, so the source is never asked while the fill thread reads it.
  long TellLocation(long offset) const override;

  // The fill thread's body.
  void Run() override;
  IRingSampleBufferMixin* GetRingBuffer() override;

private:
  static boost::shared_ptr<IInputSampleIterator> Checked(
      boost::shared_ptr<IInputSampleIterator> source);
  CReader StartBuffering(double ringTime, int priority);

  boost::shared_ptr<IInputSampleIterator> mSource;
  long mStartLocation;
  long mChannels;
  boost::shared_ptr<CRingBufferer> mBufferer;
  CReader mReader;
  IRingSampleBufferMixin* mRing;
  // Written by the reader only; atomic so a position can be asked from elsewhere.
  std::atomic<long> mSamplesRead;
  // Silent samples still to give; a whole frame's worth is put in at a time,
  // so the ring's samples keep their channels.
  long mSilence;
};

}  // namespace SL
