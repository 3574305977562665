#pragma once

#include <boost/iterator/iterator_facade.hpp>
#include <boost/shared_ptr.hpp>
#include <cmath>
#include <cstdint>
#include <vector>

#include "SL/Com/Buffer/CSampleEndianConverter.h"
#include "SL/Com/Buffer/ISampleBuffer.h"
#include "SL/Com/Buffer/ISampleIncrementer.h"
#include "SL/Com/Buffer/ISampleLocator.h"
#include "SL/Com/Format/BitDepthCodes.h"

namespace SL {

namespace Private {

// Exact magnitude of a sample for the peak level: integers without overflow,
// 8-bit samples raw, floating point as its absolute value.
inline double SampleMagnitude(unsigned char s) { return s; }
inline double SampleMagnitude(std::int16_t s) { return std::fabs(static_cast<double>(s)); }
inline double SampleMagnitude(std::int32_t s) { return std::fabs(static_cast<double>(s)); }
inline double SampleMagnitude(float s) { return std::fabs(static_cast<double>(s)); }
inline double SampleMagnitude(double s) { return std::fabs(s); }

}  // namespace Private

// Typed sample buffer of bit-depth code N with its forward iterators, which
// read and write one sample at a time over all channels or a list of them.
// Iterators check no bounds: callers compare with an end iterator of the
// same buffer, which must outlive its iterators.
template <int N>
class ITypedSampleBuffer : public ISampleBuffer {
public:
  typedef typename CSampleTraits<N>::CValueType CValueType;
  enum { B = BytesOf(N) };
  typedef ISampleIncrementer<B> CIncrementer;

  class CIteratorBase {
  public:
    // Writing through the output iterator's dereference lands here.
    class COutputProxy {
    public:
      explicit COutputProxy(CIteratorBase* iterator) : mIterator(iterator) {}
      COutputProxy(COutputProxy const&) = default;
      COutputProxy& operator=(CValueType value) {
        mIterator->Set(value);
        return *this;
      }
      // *a = *b copies b's sample into a's; it never rebinds a's proxy,
      // which must keep referring to the iterator that holds it.
      COutputProxy& operator=(COutputProxy const& other) {
        mIterator->Set(other.mIterator->Get());
        return *this;
      }
      operator CValueType() const { return mIterator->Get(); }
      // Exchanges the two samples; the generic swap would copy a proxy that
      // still refers to the sample it has just overwritten.
      friend void swap(COutputProxy& a, COutputProxy& b) {
        CValueType const held = a;
        a = static_cast<CValueType>(b);
        b = held;
      }

    private:
      friend class CIteratorBase;
      CIteratorBase* mIterator;
    };

    CIteratorBase(GT::CEndianness::EEndian endian, boost::shared_ptr<ISampleLocator> locator,
                  boost::shared_ptr<CIncrementer> incrementer)
        : mLocator(locator), mIncrementer(incrementer), mConverter(endian) {
      if (mLocator && mIncrementer) {
        mLocator->Increment(mIncrementer->IncrementInitial());
      }
    }
    // Copies clone locator and incrementer, so they advance independently.
    CIteratorBase(CIteratorBase const& other)
        : mLocator(other.mLocator ? other.mLocator->Clone() : nullptr),
          mIncrementer(other.mIncrementer ? other.mIncrementer->Clone() : nullptr),
          mConverter(other.mConverter) {}
    CIteratorBase& operator=(CIteratorBase const& other) {
      if (this != &other) {
        CIteratorBase copy(other);
        mLocator.swap(copy.mLocator);
        mIncrementer.swap(copy.mIncrementer);
        mConverter = copy.mConverter;
      }
      return *this;
    }

    CValueType Get() const { return mConverter.Convert(mLocator->Current()); }
    void Set(CValueType value) {
      if (mLocator->WritesThrough()) {
        unsigned char bytes[8];
        mConverter.Store(bytes, value);
        mLocator->Assign(bytes, B);
      } else {
        mConverter.Store(mLocator->Current(), value);
      }
    }
    void Increment() {
      if (mLocator) {
        mLocator->Increment(mIncrementer->Increment());
      }
    }
    // Compares positions only, never the incrementers' phases. Iterators
    // without a locator (a buffer that can make none) are all equal.
    bool Equals(CIteratorBase const& other) const {
      if (!mLocator || !other.mLocator) {
        return !mLocator && !other.mLocator;
      }
      return mLocator->Equals(*other.mLocator);
    }

  protected:
    boost::shared_ptr<ISampleLocator> mLocator;
    boost::shared_ptr<CIncrementer> mIncrementer;
    CSampleEndianConverter<N> mConverter;
  };

  typedef typename CIteratorBase::COutputProxy COutputProxy;

  class CInputIterator
      : public CIteratorBase,
        public boost::iterator_facade<CInputIterator, CValueType, boost::forward_traversal_tag,
                                      CValueType, int> {
  public:
    CInputIterator(GT::CEndianness::EEndian endian, boost::shared_ptr<ISampleLocator> locator,
                   boost::shared_ptr<CIncrementer> incrementer)
        : CIteratorBase(endian, locator, incrementer) {}
    CInputIterator(CInputIterator const&) = default;
    CInputIterator& operator=(CInputIterator const&) = default;

    CInputIterator& operator++() {
      this->Increment();
      return *this;
    }
    CInputIterator operator++(int) {
      CInputIterator copy(*this);
      this->Increment();
      return copy;
    }

  private:
    friend class boost::iterator_core_access;
    CValueType dereference() const { return this->Get(); }
    void increment() { this->Increment(); }
    bool equal(CInputIterator const& other) const { return this->Equals(other); }
  };

  class COutputIterator
      : public CIteratorBase,
        public boost::iterator_facade<COutputIterator, COutputProxy, boost::forward_traversal_tag,
                                      COutputProxy&, int> {
  public:
    COutputIterator(GT::CEndianness::EEndian endian, boost::shared_ptr<ISampleLocator> locator,
                    boost::shared_ptr<CIncrementer> incrementer)
        : CIteratorBase(endian, locator, incrementer), mProxy(this) {}
    // A copy's proxy refers to the copy.
    COutputIterator(COutputIterator const& other)
        : CIteratorBase(other), CFacade(other), mProxy(this) {}
    COutputIterator& operator=(COutputIterator const& other) {
      CIteratorBase::operator=(other);
      return *this;
    }

    COutputIterator& operator++() {
      this->Increment();
      return *this;
    }

  private:
    typedef boost::iterator_facade<COutputIterator, COutputProxy, boost::forward_traversal_tag,
                                   COutputProxy&, int>
        CFacade;
    friend class boost::iterator_core_access;
    COutputProxy& dereference() const { return mProxy; }
    void increment() { this->Increment(); }
    bool equal(COutputIterator const& other) const { return this->Equals(other); }

    mutable COutputProxy mProxy;
  };

  ~ITypedSampleBuffer() override = default;

  virtual CInputIterator InputBegin() = 0;
  virtual CInputIterator InputEnd() = 0;
  virtual CInputIterator InputAt(long frame) = 0;
  virtual COutputIterator OutputBegin() = 0;
  virtual COutputIterator OutputEnd() = 0;
  virtual COutputIterator OutputAt(long frame) = 0;
  virtual CInputIterator InputBegin(std::vector<int> const& channels) = 0;
  virtual CInputIterator InputEnd(std::vector<int> const& channels) = 0;
  virtual CInputIterator InputAt(std::vector<int> const& channels, long frame) = 0;
  virtual COutputIterator OutputBegin(std::vector<int> const& channels) = 0;
  virtual COutputIterator OutputEnd(std::vector<int> const& channels) = 0;
  virtual COutputIterator OutputAt(std::vector<int> const& channels, long frame) = 0;

  // Largest magnitude per channel over every frame from InputBegin to
  // InputEnd; the range must hold whole frames.
  std::vector<double> GetPeakLevel() const override {
    ITypedSampleBuffer& self = const_cast<ITypedSampleBuffer&>(*this);
    int const channels = GetAttribute().mChannelCount;
    std::vector<double> result(channels > 0 ? static_cast<std::size_t>(channels) : 0, 0.0);
    if (channels < 1) {
      return result;
    }
    CInputIterator it = self.InputBegin();
    CInputIterator const end = self.InputEnd();
    while (it != end) {
      for (int c = 0; c < channels; ++c) {
        double const m = Private::SampleMagnitude(it.Get());
        ++it;
        if (m > result[c]) {
          result[c] = m;
        }
      }
    }
    return result;
  }

protected:
  ITypedSampleBuffer() = default;
};

}  // namespace SL
