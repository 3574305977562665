#include "SL/Linux/Audio/CCaAudioDeviceBase.h"

#include "SL/Com/Buffer/CReferentialSampleBufferFactory.h"
#include "SL/Linux/Audio/CCaAudioDeviceTransaction.h"
#include "SL/Linux/Audio/CDeviceIO.h"

namespace SL {

CCaAudioDeviceBase::CCaAudioDeviceBase(std::string const& name, IAudioDeviceFacade const& facade)
    : CAudioDeviceBase(
          name, facade,
          boost::shared_ptr<ASampleBufferFactory>(new CReferentialSampleBufferFactory)),
      mDevice(),
      mTotalFrame(0) {}

CCaAudioDeviceBase::~CCaAudioDeviceBase() { Shutdown(); }

void CCaAudioDeviceBase::StoreTotalFrame() const {
  boost::shared_ptr<ITransaction> const current = LoadTransaction();
  if (CTransaction* const transaction = dynamic_cast<CTransaction*>(current.get())) {
    mTotalFrame.fetch_add(transaction->TakeFrames(), std::memory_order_relaxed);
  }
}

long CCaAudioDeviceBase::GetTotalFrame() const {
  return mTotalFrame.load(std::memory_order_relaxed);
}

void CCaAudioDeviceBase::ResetTotalFrame() { mTotalFrame.store(0, std::memory_order_relaxed); }

bool CCaAudioDeviceBase::IsAudioThread() const { return CoreAudio::CDeviceIO::IsCallbackThread(); }

void CCaAudioDeviceBase::Shutdown() {
  boost::shared_ptr<ITransaction> const transaction = TakeTransaction();
  if (transaction) {
    transaction->AbortStreaming();
  }
  StopRunner();
}

}  // namespace SL
