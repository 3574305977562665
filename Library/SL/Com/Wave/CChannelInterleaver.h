#pragma once

#include <algorithm>
#include <boost/shared_ptr.hpp>
#include <vector>

#include "GT/Com/Data/CEndianness.h"
#include "SL/Com/Wave/CInterleavedBuffer.h"
#include "SL/Com/Buffer/CSampleBitDepthConverter.h"
#include "SL/Com/Wave/CTypedChannelCollection.h"

namespace SL {

// Turns a block of interleaved raw samples into one channel of doubles per
// interleaved channel.
class CChannelInterleaver {
public:
  // N: the raw samples' bit-depth code; M: the result's, FLOAT64. Never an
  // empty pointer: channels < 1 gives no channels, an empty block channels
  // without samples, and only whole frames are converted.
  template <int N, int M>
  static boost::shared_ptr<CTypedChannelCollection<M> > Convert(
      CWaveFormat const& format, std::vector<unsigned char> const& bytes,
      GT::CEndianness::EEndian order, int channels) {
    unsigned char const* begin = bytes.empty() ? nullptr : bytes.data();
    return Convert<N, M>(format, begin, begin + bytes.size(), order, channels);
  }

  // The same over the bytes [begin, end).
  template <int N, int M>
  static boost::shared_ptr<CTypedChannelCollection<M> > Convert(CWaveFormat const& format,
                                                                unsigned char const* begin,
                                                                unsigned char const* end,
                                                                GT::CEndianness::EEndian order,
                                                                int channels) {
    boost::shared_ptr<CTypedChannelCollection<M> > result(new CTypedChannelCollection<M>(format));
    if (channels < 1) return result;
    CInterleavedBuffer<N> const buffer(begin, end, order, channels);
    result->Initialize(channels);
    result->SetLocation(GT::CRange<long>(0, static_cast<long>(buffer.GetFrameCount())));
    if (begin == end) return result;
    CSampleBitDepthConverter<N, M> const converter;
    for (int i = 0; i < channels; ++i) {
      CChannel<M>& channel = (*result)[static_cast<unsigned long>(i)];
      std::transform(buffer.Begin(i, i), buffer.End(i, i), channel.Begin(), converter);
    }
    return result;
  }
};

}  // namespace SL
