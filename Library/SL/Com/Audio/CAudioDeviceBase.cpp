#include "SL/Com/Audio/CAudioDeviceBase.h"

#include "GT/Com/Thread/CThreadFactory.h"
#include "GT/Com/Thread/Clock.h"
#include "SL/Com/Buffer/CSampleTransformerFactory.h"

#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace SL {

double const CAudioDeviceBase::sDefaultDeviceBufferTime = 0.4;

CAudioDeviceBase::ATransaction::ATransaction(boost::shared_ptr<IInputSampleIterator> source)
    : mIterator(source), mSource(source.get()), mDestination(nullptr) {}

CAudioDeviceBase::ATransaction::ATransaction(boost::shared_ptr<IOutputSampleIterator> destination)
    : mIterator(destination), mSource(nullptr), mDestination(destination.get()) {}

CAudioDeviceBase::ATransaction::~ATransaction() {}

ISampleBuffer* CAudioDeviceBase::ATransaction::FillDeviceBuffer(ISampleBuffer* buffer) {
  if (mTransformer && mSource != nullptr && buffer != nullptr) {
    mTransformer->Transform(*mSource, *buffer, ISampleTransformer::PadDestination);
  }
  return buffer;
}

ISampleBuffer* CAudioDeviceBase::ATransaction::DrainDeviceBuffer(ISampleBuffer* buffer) {
  if (mTransformer && mDestination != nullptr && buffer != nullptr) {
    mTransformer->Transform(*buffer, *mDestination, ISampleTransformer::CopyOnly);
  }
  return buffer;
}

bool CAudioDeviceBase::ATransaction::HasBufferUnderflowed() const {
  return !mIterator || !mIterator->HasNext();
}

bool CAudioDeviceBase::ATransaction::HasBufferOverflowed() const {
  return !mIterator || !mIterator->HasNext();
}

CAudioDeviceBase::CAudioDeviceBase(std::string const& name, IAudioDeviceFacade const& facade,
                                   boost::shared_ptr<ASampleBufferFactory> factory)
    : mName(name),
      mFacade(facade),
      mFactory(factory),
      mHasListeners(false),
      mPendingEvents{{0}, {0}},
      mStops(0),
      mDeliveryMutex(new std::mutex),
      mRunnerThread(nullptr),
      mRunnerStarted(false) {
  mFactory->mBufferTime = sDefaultDeviceBufferTime;
  mFactory->mUsesBufferTime = true;
  mRunner.reset(new CRunner(*this));
  mThread.reset(GT::CThreadFactory::Create(*mRunner).release());
  mRunnerThread = mThread.get();
  mThread->Start();
  mRunnerStarted = mThread->IsAlive();
}

CAudioDeviceBase::~CAudioDeviceBase() {
  StopRunner();
  mRunner.reset();
  boost::atomic_store(&mTransaction, boost::shared_ptr<ITransaction>());
}

void CAudioDeviceBase::StopRunner() {
  if (mThread) {
    mThread->SetTerminationFlag();
    if (mThread->IsCurrentThread()) {
      // A listener is destroying us on the runner, which cannot join itself:
      // it ends once the listener returns, touching nothing of ours, and a
      // helper joins it and releases what it still runs on. The helper holds
      // the only references, so the last one never goes on the runner.
      typedef std::pair<boost::shared_ptr<GT::AThread>, boost::shared_ptr<GT::IRunnable> > CHeld;
      CHeld* const held = new CHeld(mThread, mRunner);
      mThread.reset();
      mRunner.reset();
      try {
        std::thread([held]() { delete held; }).detach();
      } catch (std::system_error const&) {
        // Left running to its end, never joined.
      }
    }
    mThread.reset();  // joins
  }
  // A transaction the runner had yet to release goes now, while the device
  // is still whole.
  boost::atomic_store(&mRetiring, boost::shared_ptr<ITransaction>());
}

void CAudioDeviceBase::SetDeviceBufferTime(double seconds) {
  mFactory->mBufferTime = seconds;
  mFactory->mUsesBufferTime = true;
}

double CAudioDeviceBase::GetDeviceBufferTime() const { return mFactory->BufferTime(); }

long CAudioDeviceBase::GetCurrentFrame() const {
  boost::shared_ptr<ITransaction> const transaction = LoadTransaction();
  if (!transaction || transaction->SampleIterator() == nullptr) {
    return 0;
  }
  StoreTotalFrame();
  return transaction->SampleIterator()->ToCurrentFrame(GetTotalFrame());
}

void CAudioDeviceBase::AddAudioEventListener(
    boost::shared_ptr<IAudioDeviceEventListener> listener) {
  std::lock_guard<std::mutex> lock(mListenerMutex);
  mListeners.Add(listener, 0);
  mHasListeners.store(!mListeners.IsEmpty(), std::memory_order_release);
}

void CAudioDeviceBase::FireAudioDeviceEvent(CAudioDeviceEvent::EType type, ISampleBuffer* buffer) {
  (void)buffer;  // no buffer travels across threads
  if (!mHasListeners.load(std::memory_order_acquire)) {
    return;
  }
  mPendingEvents[type == CAudioDeviceEvent::Input ? 0 : 1].fetch_add(1, std::memory_order_release);
}

void CAudioDeviceBase::DropEvents() {
  mStops.fetch_add(1);
  bool const fromListener = mRunnerThread != nullptr && mRunnerThread->IsCurrentThread();
  if (fromListener || IsAudioThread()) {
    // The delivery under way (if any) is ours, or cannot be waited for here:
    // it ends after the call under way.
    mPendingEvents[0].store(0);
    mPendingEvents[1].store(0);
    return;
  }
  std::lock_guard<std::mutex> lock(*mDeliveryMutex);
  mPendingEvents[0].store(0);
  mPendingEvents[1].store(0);
}

bool CAudioDeviceBase::DeliverEvents(GT::AThread& thread) {
  boost::shared_ptr<std::mutex> const delivery = mDeliveryMutex;
  std::lock_guard<std::mutex> lock(*delivery);
  unsigned long const stops = mStops.load();
  for (int i = 0; i < 2; ++i) {
    unsigned long const count = mPendingEvents[i].exchange(0, std::memory_order_acquire);
    if (count == 0) {
      continue;
    }
    std::vector<boost::shared_ptr<IAudioDeviceEventListener> > live;
    {
      std::lock_guard<std::mutex> lock(mListenerMutex);
      auto it = mListeners.CreateIterator();
      while (it->HasNext()) {
        boost::shared_ptr<IAudioDeviceEventListener> const listener = it->Next();
        if (listener) {
          live.push_back(listener);
        }
      }
      if (live.empty()) {
        mHasListeners.store(false, std::memory_order_release);
      }
    }
    CAudioDeviceEvent const event(
        boost::any(this), i == 0 ? CAudioDeviceEvent::Input : CAudioDeviceEvent::Output, nullptr);
    // Listeners run with no lock of the device held, so they may add
    // listeners, stop us or destroy us.
    for (unsigned long n = 0; n < count; ++n) {
      for (boost::shared_ptr<IAudioDeviceEventListener> const& listener : live) {
        listener->Handle(event);
        if (thread.GetTerminationFlag()) {
          return false;
        }
        if (mStops.load() != stops) {
          return true;
        }
      }
    }
  }
  return true;
}

void CAudioDeviceBase::RunTransactionDeleter() {
  // The thread object outlives the device, also one a listener destroys.
  GT::AThread& thread = *mRunnerThread;
  while (!thread.GetTerminationFlag()) {
    if (!DeliverEvents(thread)) {
      return;
    }
    boost::atomic_exchange(&mRetiring, boost::shared_ptr<ITransaction>()).reset();
    boost::shared_ptr<ITransaction> current = LoadTransaction();
    if (current && current->HasExhausted()) {
      // Only the one we saw: Stop or Play may have replaced it meanwhile.
      boost::atomic_compare_exchange(&mTransaction, &current, boost::shared_ptr<ITransaction>());
    }
    current.reset();  // the last reference tears the stream down here
    GT::Sleep(10);
  }
}

boost::shared_ptr<CAudioDeviceBase::ITransaction> CAudioDeviceBase::LoadTransaction() const {
  return boost::atomic_load(&mTransaction);
}

void CAudioDeviceBase::InstallTransaction(boost::shared_ptr<ITransaction> const& transaction) {
  boost::atomic_store(&mTransaction, transaction);
}

boost::shared_ptr<CAudioDeviceBase::ITransaction> CAudioDeviceBase::TakeTransaction() {
  return boost::atomic_exchange(&mTransaction, boost::shared_ptr<ITransaction>());
}

void CAudioDeviceBase::RetireLater(boost::shared_ptr<ITransaction> const& transaction) {
  boost::atomic_store(&mRetiring, transaction);
}

}  // namespace SL
