#pragma once

#include <boost/iterator/iterator_facade.hpp>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "GT/Com/Data/CEndianed.h"
#include "GT/Com/Geometry/CPointT.h"
#include "GT/Com/Data/ReverseByte.h"
#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Format/CSampleTraits.h"

namespace SL {

// Value type and byte width of one raw sample of a bit-depth code.
template <int N>
struct CInterleavedSample;
template <>
struct CInterleavedSample<nInteger8> {
  typedef unsigned char CValue;
  enum { W = 1 };
};
template <>
struct CInterleavedSample<nInteger16> {
  typedef std::int16_t CValue;
  enum { W = 2 };
};
template <>
struct CInterleavedSample<nInteger24> {
  typedef std::int32_t CValue;
  enum { W = 3 };
};
template <>
struct CInterleavedSample<nInteger32> {
  typedef std::int32_t CValue;
  enum { W = 4 };
};
template <>
struct CInterleavedSample<nFloat32> {
  typedef float CValue;
  enum { W = 4 };
};
template <>
struct CInterleavedSample<nFloat64> {
  typedef double CValue;
  enum { W = 8 };
};
template <>
struct CInterleavedSample<nComplex32> {
  typedef std::complex<float> CValue;
  enum { W = 8 };
};
template <>
struct CInterleavedSample<nComplex64> {
  typedef std::complex<double> CValue;
  enum { W = 16 };
};
template <>
struct CInterleavedSample<nPoint64> {
  typedef GT::CPointT<double> CValue;
  enum { W = 16 };
};

namespace Private {

template <class T>
inline T ReadSwapped(unsigned char const* p, bool swap) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return swap ? Implement::ReverseByte(value) : value;
}

// Reads one raw sample of code N in the given byte order.
template <int N>
struct FReadSample {
  typedef typename CInterleavedSample<N>::CValue CValue;
  CValue operator()(unsigned char const* p, GT::CEndianness::EEndian order) const {
    return ReadSwapped<CValue>(p, order != GT::CEndianness::sPlatform);
  }
};

// Held offset binary whatever the file stores.
template <>
struct FReadSample<nInteger8> {
  unsigned char operator()(unsigned char const* p, GT::CEndianness::EEndian order) const {
    return CSampleTraits<nInteger8>::IsStoredSigned(order) ? static_cast<unsigned char>(*p ^ 0x80u)
                                                           : *p;
  }
};

// Three bytes assembled by the order itself, sign-extended from bit 23 on
// unsigned values.
template <>
struct FReadSample<nInteger24> {
  std::int32_t operator()(unsigned char const* p, GT::CEndianness::EEndian order) const {
    std::uint32_t const u = order == GT::CEndianness::BigEndian
                                ? (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2]
                                : (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
    return static_cast<std::int32_t>(u & 0x7FFFFFu) - static_cast<std::int32_t>(u & 0x800000u);
  }
};

template <class T>
struct FReadPair {
  T operator()(unsigned char const* p, GT::CEndianness::EEndian order) const {
    bool const swap = order != GT::CEndianness::sPlatform;
    return T(ReadSwapped<typename T::value_type>(p, swap),
             ReadSwapped<typename T::value_type>(p + sizeof(typename T::value_type), swap));
  }
};
template <>
struct FReadSample<nComplex32> : FReadPair<std::complex<float> > {};
template <>
struct FReadSample<nComplex64> : FReadPair<std::complex<double> > {};
template <>
struct FReadSample<nPoint64> {
  GT::CPointT<double> operator()(unsigned char const* p, GT::CEndianness::EEndian order) const {
    bool const swap = order != GT::CEndianness::sPlatform;
    return GT::CPointT<double>(ReadSwapped<double>(p, swap), ReadSwapped<double>(p + 8, swap));
  }
};

}  // namespace Private

// A read-only view of interleaved raw samples of code N. Its iterators visit
// the samples of a contiguous range of channels frame by frame, in the
// machine's byte order. They count frames and channels, so no pointer
// beyond the block is ever formed; a trailing partial frame is never read.
template <int N>
class CInterleavedBuffer : public GT::CEndianed {
public:
  typedef typename CInterleavedSample<N>::CValue CValue;
  enum { W = CInterleavedSample<N>::W };

  class CIteratorBase : public GT::CEndianed {
  public:
    CIteratorBase() : mFirst(0), mLast(0), mChannel(0), mFrame(0), mBuffer(nullptr) {}
    CIteratorBase(CInterleavedBuffer const& buffer, int first, int last, std::size_t frame)
        : GT::CEndianed(buffer.GetEndian()),
          mFirst(first),
          mLast(last),
          mChannel(first),
          mFrame(frame),
          mBuffer(&buffer) {}

  protected:
    int mFirst;
    int mLast;
    int mChannel;
    std::size_t mFrame;
    CInterleavedBuffer const* mBuffer;
  };

  class CInputIterator : public boost::iterator_facade<CInputIterator, CValue,
                                                       boost::forward_traversal_tag, CValue, int>,
                         public CIteratorBase {
  public:
    CInputIterator() {}
    CInputIterator(CInterleavedBuffer const& buffer, int first, int last, std::size_t frame)
        : CIteratorBase(buffer, first, last, frame) {}

  private:
    friend class boost::iterator_core_access;
    void increment() {
      if (this->mChannel < this->mLast) {
        ++this->mChannel;
      } else {
        this->mChannel = this->mFirst;
        ++this->mFrame;
      }
    }
    // The byte offsets of the two positions are equal.
    bool equal(CInputIterator const& other) const {
      return this->mFrame == other.mFrame && this->mChannel == other.mChannel;
    }
    CValue dereference() const {
      CInterleavedBuffer const& b = *this->mBuffer;
      std::size_t const offset = (this->mFrame * static_cast<std::size_t>(b.mChannels) +
                                  static_cast<std::size_t>(this->mChannel)) *
                                 W;
      return Private::FReadSample<N>()(b.mBegin + offset, this->GetEndian());
    }
  };

  CInterleavedBuffer(unsigned char const* begin, unsigned char const* end,
                     GT::CEndianness::EEndian order, int channels)
      : GT::CEndianed(order), mBegin(begin), mEnd(end), mChannels(channels) {}

  // Whole frames in the block.
  std::size_t GetFrameCount() const {
    if (mChannels < 1) return 0;
    return (static_cast<std::size_t>(mEnd - mBegin) / W) / static_cast<std::size_t>(mChannels);
  }
  int GetChannelCount() const { return mChannels; }

  CInputIterator Begin(int first, int last) const { return CInputIterator(*this, first, last, 0); }
  CInputIterator End(int first, int last) const {
    return CInputIterator(*this, first, last, GetFrameCount());
  }

private:
  unsigned char const* mBegin;
  unsigned char const* mEnd;
  int mChannels;
};

}  // namespace SL
