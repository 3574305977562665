#pragma once

#include <boost/shared_ptr.hpp>
#include <utility>
#include <vector>

#include "SL/Com/Base/ICloneable.h"

namespace SL {

// Owns the buffers of the compressed per-channel streams: one block of 16
// interleaved 16-bit frames (platform byte order) and one coded buffer per
// channel, and hands them to a coding one channel at a time.
class CKvacCoder {
public:
  // A compressed coding of one channel of an interleaved block.
  class ICoding : public ICloneable {
  public:
    ~ICoding() override = default;
    ICoding* Clone() const override = 0;
    // Codes the channel named by channelList[0] of pcm into coded; returns
    // that channel's carried value.
    virtual int Encode(std::vector<unsigned char> const& pcm, int channels,
                       std::vector<int> const& channelList, std::vector<unsigned char>& coded,
                       int units, std::vector<int> const& unitOffsets) = 0;
    virtual int Decode(std::vector<unsigned char> const& coded, int units,
                       std::vector<int> const& unitOffsets, std::vector<unsigned char>& pcm,
                       int channels, std::vector<int> const& channelList) = 0;

  protected:
    ICoding() = default;
    ICoding(ICoding const&) = default;
    ICoding& operator=(ICoding const&) = default;
  };

  // format: (coded bits per sample, 16); units: coded blocks per channel buffer.
  CKvacCoder(std::pair<int, int> const& format, std::vector<int> const& units, int channels,
             boost::shared_ptr<ICoding> coding);
  CKvacCoder(CKvacCoder const& other);
  CKvacCoder& operator=(CKvacCoder const& other);
  void Swap(CKvacCoder& other);

  int Encode(std::vector<int> const& channelList, int channel,
             std::vector<int> const& unitOffsets) {
    return mCoding->Encode(mPcm, mChannels, channelList, mCoded[channel], mUnits[channel],
                           unitOffsets);
  }
  int Decode(int channel, std::vector<int> const& unitOffsets,
             std::vector<int> const& channelList) {
    return mCoding->Decode(mCoded[channel], mUnits[channel], unitOffsets, mPcm, mChannels,
                           channelList);
  }

  // Coded bytes of one block of one channel.
  static int ComputeBufferSize(int bits);
  // Coded blocks that fit in a 32768- or 65536-byte storage cluster; 0 for
  // any other cluster size.
  static int ComputeSampleUnitsPerCluster(unsigned long clusterBytes, int bits);

  std::vector<unsigned char>& GetPcm() { return mPcm; }
  std::vector<unsigned char> const& GetPcm() const { return mPcm; }
  std::vector<unsigned char>& GetCoded(int channel) { return mCoded[channel]; }
  std::vector<unsigned char> const& GetCoded(int channel) const { return mCoded[channel]; }
  int GetChannelCount() const { return mChannels; }
  int GetBits() const { return mFormat.first; }

private:
  void InitializeBuffer();

  std::pair<int, int> mFormat;
  std::vector<int> mUnits;
  int mChannels;
  std::vector<std::vector<unsigned char> > mCoded;
  std::vector<unsigned char> mPcm;
  boost::shared_ptr<ICoding> mCoding;
};

}  // namespace SL
