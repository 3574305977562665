#pragma once

#include <boost/shared_ptr.hpp>
#include <vector>

#include "SL/Com/Buffer/CLinearSampleIncrementer.h"
#include "SL/Com/Buffer/CSampleIncrementer.h"
#include "SL/Com/Buffer/ITypedSampleBuffer.h"

namespace SL {

// Base of buffers whose iterators are a locator from the concrete buffer
// plus an incrementer chosen here. Locations are byte positions in the
// buffer's own coordinates, from LowerBound() to UpperBound().
template <int N>
class ASampleBuffer : public ITypedSampleBuffer<N> {
public:
  typedef ITypedSampleBuffer<N> CBase;
  typedef typename CBase::CInputIterator CInputIterator;
  typedef typename CBase::COutputIterator COutputIterator;
  typedef typename CBase::CIncrementer CIncrementer;
  enum { B = CBase::B };

  explicit ASampleBuffer(CSampleAttribute const& attribute) : mAttribute(attribute) {}
  ~ASampleBuffer() override = default;

  CSampleAttribute const& GetAttribute() const override { return mAttribute; }

  CInputIterator InputBegin() override { return CreateInputIterator(LowerBound(), nullptr); }
  CInputIterator InputEnd() override { return CreateInputIterator(UpperBound(), nullptr); }
  CInputIterator InputAt(long frame) override {
    return CreateInputIterator(FrameLocation(frame), nullptr);
  }
  COutputIterator OutputBegin() override { return CreateOutputIterator(LowerBound(), nullptr); }
  COutputIterator OutputEnd() override { return CreateOutputIterator(UpperBound(), nullptr); }
  COutputIterator OutputAt(long frame) override {
    return CreateOutputIterator(FrameLocation(frame), nullptr);
  }
  CInputIterator InputBegin(std::vector<int> const& channels) override {
    return CreateInputIterator(LowerBound(), &channels);
  }
  CInputIterator InputEnd(std::vector<int> const& channels) override {
    return CreateInputIterator(UpperBound(), &channels);
  }
  CInputIterator InputAt(std::vector<int> const& channels, long frame) override {
    return CreateInputIterator(FrameLocation(frame), &channels);
  }
  COutputIterator OutputBegin(std::vector<int> const& channels) override {
    return CreateOutputIterator(LowerBound(), &channels);
  }
  COutputIterator OutputEnd(std::vector<int> const& channels) override {
    return CreateOutputIterator(UpperBound(), &channels);
  }
  COutputIterator OutputAt(std::vector<int> const& channels, long frame) override {
    return CreateOutputIterator(FrameLocation(frame), &channels);
  }

  virtual CInputIterator CreateInputIterator(long location, std::vector<int> const* channels) {
    return CInputIterator(mAttribute.GetEndian(), CreateLocator(location),
                          CreateIncrementer(channels));
  }
  virtual COutputIterator CreateOutputIterator(long location, std::vector<int> const* channels) {
    return COutputIterator(mAttribute.GetEndian(), CreateLocator(location),
                           CreateIncrementer(channels));
  }
  virtual long LowerBound() const = 0;
  virtual long UpperBound() const = 0;
  virtual long Distance() const = 0;
  virtual boost::shared_ptr<ISampleLocator> CreateLocator(long location) = 0;

protected:
  // A list as long as the channel count means all channels in order.
  boost::shared_ptr<CIncrementer> CreateIncrementer(std::vector<int> const* channels) const {
    if (channels && static_cast<long>(channels->size()) != mAttribute.mChannelCount) {
      return boost::shared_ptr<CIncrementer>(
          new CSampleIncrementer<B>(mAttribute.mChannelCount, *channels));
    }
    return boost::shared_ptr<CIncrementer>(new CLinearSampleIncrementer<B>());
  }

  long FrameLocation(long frame) const {
    return LowerBound() + frame * mAttribute.mChannelCount * mAttribute.GetBytesPerSample();
  }

  CSampleAttribute mAttribute;
};

}  // namespace SL
