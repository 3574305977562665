#pragma once

#include <boost/shared_ptr.hpp>
#include <cstddef>
#include <vector>

#include "SL/Com/Kvac/CKvacCoder.h"

namespace SL {

namespace Private {
class compressor;
class expander;
}  // namespace Private

// The device's block coding of one channel at a time, carrying each
// channel's reconstructed last sample from block to block. A coding serves
// one pass over one stream in one direction.
class CKvacCoding : public CKvacCoder::ICoding {
public:
  explicit CKvacCoding(long bits);
  // Copies the bits and the carried values; the codec objects are fresh.
  CKvacCoding(CKvacCoding const& other);
  CKvacCoding& operator=(CKvacCoding const& other);
  ~CKvacCoding() override;
  void Swap(CKvacCoding& other);

  CKvacCoding* Clone() const override;
  int Encode(std::vector<unsigned char> const& pcm, int channels,
             std::vector<int> const& channelList, std::vector<unsigned char>& coded, int units,
             std::vector<int> const& unitOffsets) override;
  int Decode(std::vector<unsigned char> const& coded, int units,
             std::vector<int> const& unitOffsets, std::vector<unsigned char>& pcm, int channels,
             std::vector<int> const& channelList) override;

  long GetBits() const { return mBits; }
  std::vector<int> const& GetPrev() const { return mPrev; }

private:
  bool Fits(std::vector<unsigned char> const& pcm, int channels,
            std::vector<int> const& channelList, std::vector<unsigned char> const& coded) const;

  long mBits;
  boost::shared_ptr<Private::compressor> mEncoder;
  boost::shared_ptr<Private::expander> mDecoder;
  std::vector<int> mPrev;
};

}  // namespace SL
