#pragma once

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/ITypedInputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <vector>

namespace VQ7 {

// The quarter-rate sample-and-hold of lofi samples: of every four frames of
// the 16-bit source the first is read and repeated for four frames. The
// source still advances one sample per Next, so length and position stay
// those of the source.
class CSampleIteratorLofiDecorator : public SL::ITypedInputSampleIterator<SL::nInteger16> {
public:
  // A source that is not 16-bit or has no channel makes an iterator that
  // is not valid and has nothing to deliver.
  explicit CSampleIteratorLofiDecorator(boost::shared_ptr<SL::IInputSampleIterator> inner);

  bool HasNext() override;
  void Next() override;
  SL::CSampleAttribute const& GetAttribute() const override { return mAttribute; }
  bool IsValid() const override;
  long ToCurrentFrame(long frames) const override;
  short Get() override;
  void SetLocation(long frame) override;
  long GetLocation() const override;
  long TellLocation(long offset) const override;

private:
  short ReadInner();
  void Restart();

  boost::shared_ptr<SL::IInputSampleIterator> mInner;
  SL::ITypedInputSampleIterator<SL::nInteger16>* mTypedInner;
  SL::CSampleAttribute mAttribute;
  long mChannelCount;
  long mChannelIndex;
  long mCounter;
  long mPeriod;
  std::vector<int16_t> mHold;
};

}  // namespace VQ7
