#pragma once

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

template <int From, int To>
class CSampleIteratorBitDepthConvertDecorator;

// Presents a 16-bit integer source as 32-bit floats, s / 32767 in single
// precision, unclipped: -32768 gives -1.0000305.
template <>
class CSampleIteratorBitDepthConvertDecorator<nInteger16, nFloat32>
    : public ITypedInputSampleIterator<nFloat32> {
public:
  // A source that does not deliver 16-bit samples is refused with
  // std::invalid_argument.
  explicit CSampleIteratorBitDepthConvertDecorator(boost::shared_ptr<IInputSampleIterator> source);

  bool HasNext() override;
  void Next() override;
  CSampleAttribute const& GetAttribute() const override;
  long ToCurrentFrame(long frames) const override;
  float Get() override;
  void SetLocation(long frame) override;
  long GetLocation() const override;
  long TellLocation(long offset) const override;

private:
  boost::shared_ptr<IInputSampleIterator> mSource;
  ITypedInputSampleIterator<nInteger16>* mTypedSource;
  CSampleAttribute mAttribute;
};

}  // namespace SL
