#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"

#include <stdexcept>

namespace SL {

namespace {

ITypedInputSampleIterator<65552>* Typed(IInputSampleIterator* source) {
  ITypedInputSampleIterator<65552>* const typed =
      dynamic_cast<ITypedInputSampleIterator<65552>*>(source);
  if (typed == nullptr) {
    throw std::invalid_argument("the stereo view needs a 16-bit sample source");
  }
  return typed;
}

}  // namespace

CSampleIteratorStereoDecorator<65552>::CSampleIteratorStereoDecorator(
    boost::shared_ptr<IInputSampleIterator> source)
    : mSource(source),
      mTypedSource(Typed(source.get())),
      mAttribute(source->GetAttribute()),
      mPhase(0) {
  mAttribute.mChannelCount = 2;
}

bool CSampleIteratorStereoDecorator<65552>::HasNext() { return mSource->HasNext(); }

void CSampleIteratorStereoDecorator<65552>::Next() {
  if (mPhase == 1) {
    mSource->Next();
  }
  mPhase = (mPhase + 1) % 2;
}

CSampleAttribute const& CSampleIteratorStereoDecorator<65552>::GetAttribute() const {
  return mAttribute;
}

long CSampleIteratorStereoDecorator<65552>::ToCurrentFrame(long frames) const {
  return mSource->ToCurrentFrame(frames);
}

short CSampleIteratorStereoDecorator<65552>::Get() { return mTypedSource->Get(); }

void CSampleIteratorStereoDecorator<65552>::SetLocation(long frame) { mSource->SetLocation(frame); }

long CSampleIteratorStereoDecorator<65552>::GetLocation() const { return mSource->GetLocation(); }

long CSampleIteratorStereoDecorator<65552>::TellLocation(long offset) const {
  return mSource->TellLocation(offset);
}

}  // namespace SL
