#pragma once

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

namespace SL {

template <int N>
class CSampleIteratorStereoDecorator;

// Presents a one-channel 16-bit source as two channels: each source sample is
// given twice, as the left and the right of one frame.
template <>
class CSampleIteratorStereoDecorator<nInteger16> : public ITypedInputSampleIterator<nInteger16> {
public:
  // A source that does not deliver 16-bit samples is refused with
  // std::invalid_argument.
  explicit CSampleIteratorStereoDecorator(boost::shared_ptr<IInputSampleIterator> source);

  bool HasNext() override;
  void Next() override;
  CSampleAttribute const& GetAttribute() const override;
  // Each frame of this stream is one frame of the source, so the count passes
  // through unchanged.
  long ToCurrentFrame(long frames) const override;
  short Get() override;
  void SetLocation(long frame) override;
  long GetLocation() const override;
  long TellLocation(long offset) const override;

private:
  boost::shared_ptr<IInputSampleIterator> mSource;
  ITypedInputSampleIterator<nInteger16>* mTypedSource;
  CSampleAttribute mAttribute;
  int mPhase;
};

}  // namespace SL
