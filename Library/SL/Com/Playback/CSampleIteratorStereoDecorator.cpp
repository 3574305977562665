#include "SL/Com/Playback/CSampleIteratorStereoDecorator.h"

#include <stdexcept>

namespace SL {

namespace {

ITypedInputSampleIterator<nInteger16>* Typed(IInputSampleIterator* source) {
  ITypedInputSampleIterator<nInteger16>* const typed =
      dynamic_cast<ITypedInputSampleIterator<nInteger16>*>(source);
  if (typed == nullptr) {
    throw std::invalid_argument("the stereo view needs a 16-bit sample source");
  }
  return typed;
}

}  // namespace

CSampleIteratorStereoDecorator<nInteger16>::CSampleIteratorStereoDecorator(
    boost::shared_ptr<IInputSampleIterator> source)
    : mSource(source),
      mTypedSource(Typed(source.get())),
      mAttribute(source->GetAttribute()),
      mPhase(0) {
  mAttribute.mChannelCount = 2;
}

bool CSampleIteratorStereoDecorator<nInteger16>::HasNext() { return mSource->HasNext(); }

void CSampleIteratorStereoDecorator<nInteger16>::Next() {
  if (mPhase == 1) {
    mSource->Next();
  }
  mPhase = (mPhase + 1) % 2;
}

CSampleAttribute const& CSampleIteratorStereoDecorator<nInteger16>::GetAttribute() const {
  return mAttribute;
}

long CSampleIteratorStereoDecorator<nInteger16>::ToCurrentFrame(long frames) const {
  return mSource->ToCurrentFrame(frames);
}

short CSampleIteratorStereoDecorator<nInteger16>::Get() { return mTypedSource->Get(); }

void CSampleIteratorStereoDecorator<nInteger16>::SetLocation(long frame) {
  mSource->SetLocation(frame);
}

long CSampleIteratorStereoDecorator<nInteger16>::GetLocation() const {
  return mSource->GetLocation();
}

long CSampleIteratorStereoDecorator<nInteger16>::TellLocation(long offset) const {
  return mSource->TellLocation(offset);
}

}  // namespace SL
