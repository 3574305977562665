#pragma once

#include "GT/Com/Thread/AThread.h"
#include "GT/Com/Thread/IRunnable.h"
#include "SL/Com/Buffer/CRingSampleBufferFactory.h"
#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"
#include "SL/Com/Buffer/ISampleBuffer.h"
#include "SL/Com/Buffer/ISampleTransformer.h"

#include <boost/shared_ptr.hpp>

#include <atomic>

namespace SL {

// Owns the ring between a sample stream and its reader on another thread,
// the transformer that moves the stream's samples, and the thread that tops
// the ring up every 10 ms. The fill thread is the ring's only writer; the
// owner's reader its only reader.
class CRingBufferer {
public:
  static double const sDefaultRingBufferTime;  // seconds

  CRingBufferer();
  // Stops buffering, tells the thread to end and waits for it before the
  // ring, the transformer and the stream go.
  ~CRingBufferer();

  CRingBufferer(CRingBufferer const&) = delete;
  CRingBufferer& operator=(CRingBufferer const&) = delete;

  // Takes effect at the next StartBuffering.
  void SetRingBufferTime(double seconds);
  double GetRingBufferTime() const;

  // Starts the thread that runs runnable (which calls RunFillRingBuffer or
  // RunDrainRingBuffer); it idles until buffering starts.
  void StartBufferingThread(GT::IRunnable& runnable, int priority);
  // Once per object. Makes the transformer and the ring for the stream's
  // attribute; an input stream fills the ring once, on the caller's thread.
  // A bit depth without a transformer or ring leaves buffering off.
  void StartBuffering(boost::shared_ptr<IInputSampleIterator> source);
  void StartBuffering(boost::shared_ptr<IOutputSampleIterator> source);
  // The thread keeps running and idles.
  void StopBuffering();

  void FillRingBuffer();
  void DrainRingBuffer();
  // The thread loops: until told to end, fill (or drain) while buffering,
  // then sleep 10 ms.
  void RunFillRingBuffer();
  void RunDrainRingBuffer();
  void SignalToTerminateBufferingThread();

  // The ring, once buffering has started; the owner reads it directly.
  boost::shared_ptr<ISampleBuffer> GetRingBuffer() const { return mRing; }
  bool IsBuffering() const { return mBuffering.load(std::memory_order_acquire); }
  // The input stream has ended (or failed) and all it gave is in the ring.
  bool IsSourceExhausted() const { return mSourceEnded.load(std::memory_order_acquire); }

private:
  void PrivateStartBuffering(boost::shared_ptr<ISampleIteratorBase> source);
  template <class Step>
  void RunLoop(Step step);

  boost::shared_ptr<ISampleIteratorBase> mSource;
  IInputSampleIterator* mInput;
  IOutputSampleIterator* mOutput;
  boost::shared_ptr<ISampleTransformer> mTransformer;
  boost::shared_ptr<CRingSampleBufferFactory> mFactory;
  boost::shared_ptr<ISampleBuffer> mRing;
  boost::shared_ptr<GT::AThread> mThread;
  // What the loop polls: mThread itself is reset by the destructor while the
  // loop may still run.
  std::atomic<GT::AThread*> mThreadForLoop;
  // Publishes source, transformer and ring to the fill thread.
  std::atomic<bool> mBuffering;
  std::atomic<bool> mSourceEnded;
};

}  // namespace SL
