#include "SL/Com/Playback/CRingBufferer.h"

#include "GT/Com/Thread/CThreadFactory.h"
#include "GT/Com/Thread/Clock.h"
#include "SL/Com/Buffer/CSampleTransformerFactory.h"

#include <exception>

namespace SL {

double const CRingBufferer::sDefaultRingBufferTime = 1.6;

CRingBufferer::CRingBufferer()
    : mSource(),
      mInput(nullptr),
      mOutput(nullptr),
      mTransformer(),
      mFactory(new CRingSampleBufferFactory),
      mRing(),
      mThread(),
      mThreadForLoop(nullptr),
      mBuffering(false),
      mSourceEnded(false) {
  mFactory->mBufferTime = sDefaultRingBufferTime;
  mFactory->mUsesBufferTime = true;
}

CRingBufferer::~CRingBufferer() {
  mBuffering.store(false, std::memory_order_release);
  if (mThread) {
    SignalToTerminateBufferingThread();
  }
  // The last reference joins the thread, so the loop has returned before the
  // ring, the transformer and the stream are released.
  mThread.reset();
  mRing.reset();
  mFactory.reset();
  mTransformer.reset();
  mSource.reset();
}

void CRingBufferer::SetRingBufferTime(double seconds) {
  mFactory->mBufferTime = seconds;
  mFactory->mUsesBufferTime = true;
}

double CRingBufferer::GetRingBufferTime() const { return mFactory->BufferTime(); }

void CRingBufferer::StartBufferingThread(GT::IRunnable& runnable, int priority) {
  if (mThread) {
    return;
  }
  mThread = boost::shared_ptr<GT::AThread>(GT::CThreadFactory::Create(runnable).release());
  mThreadForLoop.store(mThread.get(), std::memory_order_release);
  mThread->SetPriority(priority);
  mThread->Start();
}

void CRingBufferer::StartBuffering(boost::shared_ptr<IInputSampleIterator> source) {
  if (!source || mSource) {
    return;
  }
  mInput = source.get();
  PrivateStartBuffering(source);
}

void CRingBufferer::StartBuffering(boost::shared_ptr<IOutputSampleIterator> source) {
  if (!source || mSource) {
    return;
  }
  mOutput = source.get();
  PrivateStartBuffering(source);
}

void CRingBufferer::StopBuffering() { mBuffering.store(false, std::memory_order_release); }

void CRingBufferer::PrivateStartBuffering(boost::shared_ptr<ISampleIteratorBase> source) {
  mSource = source;
  mTransformer = CSampleTransformerFactory::Create(source->GetAttribute().mBitDepth);
  mFactory->mAttribute = source->GetAttribute();
  mRing = mFactory->Create();
  if (!mTransformer || !mRing) {
    mSourceEnded.store(true, std::memory_order_release);  // nothing will ever come
    return;
  }
  if (mInput != nullptr) {
    FillRingBuffer();
  }
  // Everything above is complete before the fill thread can see this.
  mBuffering.store(true, std::memory_order_release);
}

// A source that failed has ended too, also one that threw: on the fill
// thread nobody would hear of the exception, and the reader would wait for
// the rest for ever. An ended source is not read again.
void CRingBufferer::FillRingBuffer() {
  if (mInput == nullptr || !mTransformer || !mRing ||
      mSourceEnded.load(std::memory_order_relaxed)) {
    return;
  }
  bool ended = false;
  try {
    mTransformer->Transform(*mInput, *mRing, ISampleTransformer::CopyOnly);
    ended = !mInput->HasNext() || !mInput->IsValid();
  } catch (std::exception const&) {
    ended = true;
  }
  // After the samples are published: a reader that sees the end sees them.
  if (ended) {
    mSourceEnded.store(true, std::memory_order_release);
  }
}

void CRingBufferer::DrainRingBuffer() {
  if (mOutput == nullptr || !mTransformer || !mRing) {
    return;
  }
  mTransformer->Transform(*mRing, *mOutput, ISampleTransformer::CopyOnly);
}

template <class Step>
void CRingBufferer::RunLoop(Step step) {
  GT::AThread* const thread = mThreadForLoop.load(std::memory_order_acquire);
  if (thread == nullptr) {
    return;
  }
  while (!thread->GetTerminationFlag()) {
    if (mBuffering.load(std::memory_order_acquire)) {
      step();
    }
    GT::Sleep(10);
  }
}

void CRingBufferer::RunFillRingBuffer() {
  RunLoop([this] { FillRingBuffer(); });
}

void CRingBufferer::RunDrainRingBuffer() {
  RunLoop([this] { DrainRingBuffer(); });
}

void CRingBufferer::SignalToTerminateBufferingThread() {
  if (mThread) {
    mThread->SetTerminationFlag();
  }
}

}  // namespace SL
