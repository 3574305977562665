#include "SL/Com/Audio/CAudioDeviceBase.h"

#include "GT/Com/Thread/CThreadFactory.h"
#include "GT/Com/Thread/Clock.h"
#include "SL/Com/Buffer/CSampleTransformerFactory.h"

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

void CAudioDeviceBase::DeliverEvents() {
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
    // Listeners run with no lock held, so they may add listeners or stop us.
    for (unsigned long n = 0; n < count; ++n) {
      for (boost::shared_ptr<IAudioDeviceEventListener> const& listener : live) {
        listener->Handle(event);
      }
    }
  }
}

void CAudioDeviceBase::RunTransactionDeleter() {
  while (!mRunnerThread->GetTerminationFlag()) {
    DeliverEvents();
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
