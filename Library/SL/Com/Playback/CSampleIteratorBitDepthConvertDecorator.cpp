#include "SL/Com/Playback/CSampleIteratorBitDepthConvertDecorator.h"

#include "SL/Com/Format/CSampleTraits.h"

#include <stdexcept>

namespace SL {

namespace {

ITypedInputSampleIterator<65552>* Typed(IInputSampleIterator* source) {
  ITypedInputSampleIterator<65552>* const typed =
      dynamic_cast<ITypedInputSampleIterator<65552>*>(source);
  if (typed == nullptr) {
    throw std::invalid_argument("the float view needs a 16-bit sample source");
  }
  return typed;
}

}  // namespace

CSampleIteratorBitDepthConvertDecorator<65552, 131104>::CSampleIteratorBitDepthConvertDecorator(
    boost::shared_ptr<IInputSampleIterator> source)
    : mSource(source), mTypedSource(Typed(source.get())), mAttribute(source->GetAttribute()) {
  mAttribute.mBitDepth = CBitDepth(131104);
}

bool CSampleIteratorBitDepthConvertDecorator<65552, 131104>::HasNext() {
  return mSource->HasNext();
}

void CSampleIteratorBitDepthConvertDecorator<65552, 131104>::Next() { mSource->Next(); }

CSampleAttribute const& CSampleIteratorBitDepthConvertDecorator<65552, 131104>::GetAttribute()
    const {
  return mAttribute;
}

long CSampleIteratorBitDepthConvertDecorator<65552, 131104>::ToCurrentFrame(long frames) const {
  return mSource->ToCurrentFrame(frames);
}

float CSampleIteratorBitDepthConvertDecorator<65552, 131104>::Get() {
  typedef CSampleTraits<65552> CTraits;
  float const midpoint = static_cast<float>(CTraits::sMidpointValue);
  float const maximum = static_cast<float>(CTraits::sMaximumValue);
  return (static_cast<float>(mTypedSource->Get()) - midpoint) / (maximum - midpoint);
}

void CSampleIteratorBitDepthConvertDecorator<65552, 131104>::SetLocation(long frame) {
  mSource->SetLocation(frame);
}

long CSampleIteratorBitDepthConvertDecorator<65552, 131104>::GetLocation() const {
  return mSource->GetLocation();
}

long CSampleIteratorBitDepthConvertDecorator<65552, 131104>::TellLocation(long offset) const {
  return mSource->TellLocation(offset);
}

}  // namespace SL
