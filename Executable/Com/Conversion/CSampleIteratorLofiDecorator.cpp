#include "Executable/Com/Conversion/CSampleIteratorLofiDecorator.h"

#include <algorithm>

namespace VQ7 {

CSampleIteratorLofiDecorator::CSampleIteratorLofiDecorator(
    boost::shared_ptr<SL::IInputSampleIterator> inner)
    : mInner(inner),
      mTypedInner(dynamic_cast<SL::ITypedInputSampleIterator<SL::nInteger16>*>(inner.get())),
      mAttribute(inner ? inner->GetAttribute() : SL::CSampleAttribute()),
      mChannelCount(mAttribute.mChannelCount),
      mChannelIndex(0),
      mCounter(0),
      mPeriod(4 * mAttribute.mChannelCount),
      mHold(mAttribute.mChannelCount > 0 ? mAttribute.mChannelCount : 0, 0) {
  if (mTypedInner == nullptr || mChannelCount < 1)
    mTypedInner = nullptr;
  else
    Restart();
}

// A seek starts a new hold period at the new frame, as a fresh read would:
// nothing held from before may leak into it.
void CSampleIteratorLofiDecorator::Restart() {
  std::fill(mHold.begin(), mHold.end(), int16_t(0));
  mChannelIndex = 0;
  mCounter = 0;
  mHold[0] = ReadInner();
}

short CSampleIteratorLofiDecorator::ReadInner() {
  // Past the end of the source there is nothing to hold; the value would
  // never be delivered.
  return mTypedInner->HasNext() ? mTypedInner->Get() : 0;
}

bool CSampleIteratorLofiDecorator::HasNext() { return mTypedInner != nullptr && mInner->HasNext(); }

void CSampleIteratorLofiDecorator::Next() {
  if (mTypedInner == nullptr) return;
  mInner->Next();
  mChannelIndex = (mChannelIndex + 1) % mChannelCount;
  if (++mCounter == mPeriod) mCounter = 0;
  if (mCounter < mChannelCount) mHold[static_cast<size_t>(mChannelIndex)] = ReadInner();
}

bool CSampleIteratorLofiDecorator::IsValid() const {
  return mTypedInner != nullptr && mInner->IsValid();
}

long CSampleIteratorLofiDecorator::ToCurrentFrame(long frames) const {
  return mInner ? mInner->ToCurrentFrame(frames) : frames;
}

short CSampleIteratorLofiDecorator::Get() {
  return mHold.empty() ? 0 : mHold[static_cast<size_t>(mChannelIndex)];
}

void CSampleIteratorLofiDecorator::SetLocation(long frame) {
  if (mInner) mInner->SetLocation(frame);
  if (mTypedInner != nullptr) Restart();
}

long CSampleIteratorLofiDecorator::GetLocation() const {
  return mInner ? mInner->GetLocation() : 0;
}

long CSampleIteratorLofiDecorator::TellLocation(long offset) const {
  return mInner ? mInner->TellLocation(offset) : offset;
}

}  // namespace VQ7
