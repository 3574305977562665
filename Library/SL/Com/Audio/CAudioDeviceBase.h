#pragma once

#include "GT/Com/Observer/CSafeReferenceSet.h"
#include "GT/Com/Thread/AThread.h"
#include "GT/Com/Thread/IRunnable.h"
#include "SL/Com/Audio/CAudioDeviceEvent.h"
#include "SL/Com/Audio/IAudioDeviceEventListener.h"
#include "SL/Com/Buffer/ASampleBufferFactory.h"
#include "SL/Com/Buffer/ISampleBuffer.h"
#include "SL/Com/Buffer/ISampleTransformer.h"
#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <mutex>
#include <string>

namespace SL {

class IAudioDeviceFacade;

// The platform-independent half of an audio device: the current
// transaction (one playback or recording), the event listeners, the buffer
// factory, and a runner thread that retires a transaction once its stream
// has run dry and tells listeners what the audio thread did.
//
// The current transaction is read and replaced with atomic operations only:
// the caller's thread installs it and takes it away (exchange), the runner
// retires it (compare-exchange), and the audio thread never touches it.
class CAudioDeviceBase {
public:
  // One playback or recording bound to the device.
  class ITransaction {
  public:
    virtual ~ITransaction() {}
    virtual ISampleIteratorBase* SampleIterator() = 0;
    virtual bool IsValid() const = 0;
    virtual bool StartStreaming() = 0;
    virtual bool StopStreaming() = 0;
    // Stops and waits until no platform callback of it is running.
    virtual bool AbortStreaming() = 0;
    virtual bool IsStreaming() const = 0;
    virtual bool HasStopped() const = 0;
    virtual bool HasExhausted() const = 0;
    virtual ISampleBuffer* FillDeviceBuffer(ISampleBuffer* buffer) = 0;
    virtual ISampleBuffer* DrainDeviceBuffer(ISampleBuffer* buffer) = 0;
    virtual bool HasBufferUnderflowed() const = 0;
    virtual bool HasBufferOverflowed() const = 0;
  };

  // A transaction's iterator and its transformer.
  class ATransaction : public ITransaction {
  public:
    explicit ATransaction(boost::shared_ptr<IInputSampleIterator> source);
    explicit ATransaction(boost::shared_ptr<IOutputSampleIterator> destination);
    ~ATransaction() override;

    ISampleIteratorBase* SampleIterator() override { return mIterator.get(); }
    // The source padded with zero samples into the buffer when it ends first.
    ISampleBuffer* FillDeviceBuffer(ISampleBuffer* buffer) override;
    ISampleBuffer* DrainDeviceBuffer(ISampleBuffer* buffer) override;
    // The iterator has no further sample (or takes none).
    bool HasBufferUnderflowed() const override;
    bool HasBufferOverflowed() const override;

  protected:
    boost::shared_ptr<ISampleIteratorBase> mIterator;
    IInputSampleIterator* mSource;
    IOutputSampleIterator* mDestination;
    boost::shared_ptr<ISampleTransformer> mTransformer;
  };

  class CRunner : public GT::IRunnable {
  public:
    explicit CRunner(CAudioDeviceBase& device) : mDevice(device) {}
    void Run() override { mDevice.RunTransactionDeleter(); }

  private:
    CAudioDeviceBase& mDevice;
  };

  static double const sDefaultDeviceBufferTime;  // seconds

  // Starts the runner thread.
  CAudioDeviceBase(std::string const& name, IAudioDeviceFacade const& facade,
                   boost::shared_ptr<ASampleBufferFactory> factory);
  virtual ~CAudioDeviceBase();
  CAudioDeviceBase(CAudioDeviceBase const&) = delete;
  CAudioDeviceBase& operator=(CAudioDeviceBase const&) = delete;

  // Kept for the caller; the platform stream follows the hardware's buffer.
  void SetDeviceBufferTime(double seconds);
  double GetDeviceBufferTime() const;

  // The source frame the current transaction has reached; 0 when idle.
  virtual long GetCurrentFrame() const;
  // Collects the frames the current transaction has moved into the total.
  virtual void StoreTotalFrame() const = 0;
  virtual long GetTotalFrame() const = 0;
  // The total starts again from 0 (at each Play or Record).
  virtual void ResetTotalFrame() = 0;

  void AddAudioEventListener(boost::shared_ptr<IAudioDeviceEventListener> listener);
  // From any thread, the audio thread included: allocates nothing there.
  // Listeners hear of the event on the runner thread, within about 10 ms;
  // with none, the event is dropped at once. A listener may stop or
  // destroy the device.
  void FireAudioDeviceEvent(CAudioDeviceEvent::EType type, ISampleBuffer* buffer);

  // The runner thread's body: every 10 ms, tells listeners what happened
  // and retires an exhausted transaction, until told to end.
  void RunTransactionDeleter();

protected:
  boost::shared_ptr<ITransaction> LoadTransaction() const;
  void InstallTransaction(boost::shared_ptr<ITransaction> const& transaction);
  // Takes the current transaction away; empty when idle.
  boost::shared_ptr<ITransaction> TakeTransaction();
  // Releases a transaction on the runner thread: for a caller that must not
  // tear one down itself (the audio thread).
  void RetireLater(boost::shared_ptr<ITransaction> const& transaction);
  // False when the runner thread could not start: the device cannot play,
  // as nothing would ever retire a playback.
  bool HasRunner() const { return mRunnerStarted; }
  // True on a thread that runs the platform's audio callbacks.
  virtual bool IsAudioThread() const { return false; }
  // Ends and joins the runner: the most derived destructor calls it after
  // stopping, before anything the runner uses goes. From the runner itself
  // (a listener destroying the device) it ends without joining.
  void StopRunner();
  // After a stop: events not yet delivered are dropped, and one being
  // delivered on another thread has been once this returns.
  void DropEvents();

  std::string const mName;
  IAudioDeviceFacade const& mFacade;
  boost::shared_ptr<ASampleBufferFactory> mFactory;

private:
  // False when the device is being destroyed: nothing of it may be touched.
  bool DeliverEvents(GT::AThread& thread);

  boost::shared_ptr<ITransaction> mTransaction;  // atomic access only
  boost::shared_ptr<ITransaction> mRetiring;     // atomic access only

  mutable std::mutex mListenerMutex;  // never taken on the audio thread
  GT::CSafeReferenceSet<IAudioDeviceEventListener> mListeners;
  std::atomic<bool> mHasListeners;
  std::atomic<unsigned long> mPendingEvents[2];
  std::atomic<unsigned long> mStops;  // a delivery ends when this changes
  // Held while listeners are called. Shared: it outlives a device that a
  // listener destroys.
  boost::shared_ptr<std::mutex> const mDeliveryMutex;

  boost::shared_ptr<GT::IRunnable> mRunner;
  boost::shared_ptr<GT::AThread> mThread;
  GT::AThread* mRunnerThread;  // what the runner polls; valid until joined
  bool mRunnerStarted;
};

}  // namespace SL
