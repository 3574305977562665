#include "SL/Com/Playback/CSampleIteratorRingBufferingDecorator.h"

#include <stdexcept>
#include <typeinfo>

namespace SL {

CSampleIteratorRingBufferingDecorator<nInteger16>::CSampleIteratorRingBufferingDecorator(
    boost::shared_ptr<IInputSampleIterator> source, double ringTime, int priority)
    : mSource(Checked(source)),
      mStartLocation(mSource->GetLocation()),
      mChannels(mSource->GetAttribute().mChannelCount),
      mBufferer(new CRingBufferer),
      mReader(StartBuffering(ringTime, priority)),
      mRing(&dynamic_cast<IRingSampleBufferMixin&>(*mBufferer->GetRingBuffer())),
      mSamplesRead(0),
      mSilence(0) {}

CSampleIteratorRingBufferingDecorator<nInteger16>::~CSampleIteratorRingBufferingDecorator() {
  // Members go in reverse order: reader, then the bufferer (joining the fill
  // thread before the ring goes), then the source.
}

boost::shared_ptr<IInputSampleIterator> CSampleIteratorRingBufferingDecorator<nInteger16>::Checked(
    boost::shared_ptr<IInputSampleIterator> source) {
  // The ring is read as 16-bit samples; any other depth would be read as
  // the wrong type.
  if (!source || source->GetAttribute().mBitDepth.GetValue() != nInteger16 ||
      dynamic_cast<ITypedInputSampleIterator<nInteger16>*>(source.get()) == nullptr) {
    throw std::invalid_argument("ring buffering needs a 16-bit sample source");
  }
  return source;
}

CSampleIteratorRingBufferingDecorator<nInteger16>::CReader
CSampleIteratorRingBufferingDecorator<nInteger16>::StartBuffering(double ringTime, int priority) {
  mBufferer->SetRingBufferTime(ringTime);
  mBufferer->StartBufferingThread(*this, priority);
  mBufferer->StartBuffering(mSource);
  boost::shared_ptr<ISampleBuffer> const ring = mBufferer->GetRingBuffer();
  if (!ring) {
    throw std::bad_cast();
  }
  return dynamic_cast<ITypedSampleBuffer<nInteger16>&>(*ring).InputBegin();
}

bool CSampleIteratorRingBufferingDecorator<nInteger16>::HasNext() {
  if (mSilence > 0 || mRing->IsReadable()) {
    return true;
  }
  // The end is published after the last samples: once it is seen, the ring
  // holds all there will be.
  if (mBufferer->IsSourceExhausted()) {
    return mRing->IsReadable();
  }
  mSilence = mChannels > 0 ? mChannels : 1;
  return true;
}

void CSampleIteratorRingBufferingDecorator<nInteger16>::Next() {
  if (mSilence > 0) {
    --mSilence;
    return;
  }
  mReader.Increment();
  mSamplesRead.store(mSamplesRead.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
}

CSampleAttribute const& CSampleIteratorRingBufferingDecorator<nInteger16>::GetAttribute() const {
  return mSource->GetAttribute();
}

long CSampleIteratorRingBufferingDecorator<nInteger16>::ToCurrentFrame(long frames) const {
  return mSource->ToCurrentFrame(frames);
}

short CSampleIteratorRingBufferingDecorator<nInteger16>::Get() {
  return mSilence > 0 ? 0 : mReader.Get();
}

void CSampleIteratorRingBufferingDecorator<nInteger16>::SetLocation(long) {}

long CSampleIteratorRingBufferingDecorator<nInteger16>::GetLocation() const {
  return TellLocation(0);
}

long CSampleIteratorRingBufferingDecorator<nInteger16>::TellLocation(long offset) const {
  long const frames = mChannels > 0 ? mSamplesRead.load(std::memory_order_relaxed) / mChannels : 0;
  return mStartLocation + frames + offset;
}

void CSampleIteratorRingBufferingDecorator<nInteger16>::Run() {
  CRingBufferer* const bufferer = mBufferer.get();
  bufferer->RunFillRingBuffer();
}

IRingSampleBufferMixin* CSampleIteratorRingBufferingDecorator<nInteger16>::GetRingBuffer() {
  return mRing;
}

}  // namespace SL
