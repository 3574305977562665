#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"

#include "SL/Com/Format/CSampleTraits.h"

#include <stdexcept>

namespace SL {

namespace {

ITypedInputSampleIterator<nInteger16>* Typed(IInputSampleIterator* source) {
  ITypedInputSampleIterator<nInteger16>* const typed =
      dynamic_cast<ITypedInputSampleIterator<nInteger16>*>(source);
  if (typed == nullptr) {
    throw std::invalid_argument("the float view needs a 16-bit sample source");
  }
  return typed;
}

}  // namespace

CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::
    CSampleIteratorBitDepthConvertDecorator(boost::shared_ptr<IInputSampleIterator> source)
    : mSource(source), mTypedSource(Typed(source.get())), mAttribute(source->GetAttribute()) {
  mAttribute.mBitDepth = CBitDepth::Float32;
}

bool CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::HasNext() {
  return mSource->HasNext();
}

void CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::Next() { mSource->Next(); }

CSampleAttribute const&
CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::GetAttribute() const {
  return mAttribute;
}

long CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::ToCurrentFrame(
    long frames) const {
  return mSource->ToCurrentFrame(frames);
}

float CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::Get() {
  typedef CSampleTraits<nInteger16> CTraits;
  float const midpoint = static_cast<float>(CTraits::sMidpointValue);
  float const maximum = static_cast<float>(CTraits::sMaximumValue);
  return (static_cast<float>(mTypedSource->Get()) - midpoint) / (maximum - midpoint);
}

void CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::SetLocation(long frame) {
  mSource->SetLocation(frame);
}

long CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::GetLocation() const {
  return mSource->GetLocation();
}

long CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>::TellLocation(
    long offset) const {
  return mSource->TellLocation(offset);
}

}  // namespace SL
