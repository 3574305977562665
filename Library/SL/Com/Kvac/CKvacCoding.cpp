#include "SL/Com/Kvac/CKvacCoding.h"

#include "SL/Com/Kvac/KvacBlock.h"
#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

namespace SL {

namespace {
std::size_t const kSampleBytes = 2;
std::size_t const kBlockSamples = nKvacBlockFrames;
}  // namespace

CKvacCoding::CKvacCoding(long bits)
    : mBits(bits),
      mEncoder(new Private::compressor()),
      mDecoder(new Private::expander()),
      mPrev() {}

CKvacCoding::CKvacCoding(CKvacCoding const& other)
    : CKvacCoder::ICoding(other),
      mBits(other.mBits),
      mEncoder(new Private::compressor()),
      mDecoder(new Private::expander()),
      mPrev(other.mPrev) {}

CKvacCoding& CKvacCoding::operator=(CKvacCoding const& other) {
  if (this != &other) {
    CKvacCoding copy(other);
    Swap(copy);
  }
  return *this;
}

CKvacCoding::~CKvacCoding() = default;

void CKvacCoding::Swap(CKvacCoding& other) {
  std::swap(mBits, other.mBits);
  mEncoder.swap(other.mEncoder);
  mDecoder.swap(other.mDecoder);
  mPrev.swap(other.mPrev);
}

CKvacCoding* CKvacCoding::Clone() const { return new CKvacCoding(*this); }

// Callers size the buffers; a call that does not fit them codes nothing
// rather than touching memory it does not own.
inline bool CKvacCoding::Fits(std::vector<unsigned char> const& pcm, int channels,
                              std::vector<int> const& channelList,
                              std::vector<unsigned char> const& coded) const {
  if (channels < 1 || channelList.empty() || !IsKvacBits(mBits)) {
    return false;
  }
  int const ch = channelList[0];
  return ch >= 0 && ch < channels &&
         pcm.size() >= kBlockSamples * kSampleBytes * static_cast<std::size_t>(channels) &&
         coded.size() >= static_cast<std::size_t>(KvacBlockBytes(mBits));
}

int CKvacCoding::Encode(std::vector<unsigned char> const& pcm, int channels,
                        std::vector<int> const& channelList, std::vector<unsigned char>& coded,
                        int /*units*/, std::vector<int> const& /*unitOffsets*/) {
  if (!Fits(pcm, channels, channelList, coded)) {
    return 0;
  }
  std::size_t const ch = static_cast<std::size_t>(channelList[0]);
  if (mPrev.size() <= ch) {
    mPrev.resize(ch + 1, 0);
  }
  short channel[kBlockSamples];
  short const* samples;
  if (channels == 1) {
    samples = reinterpret_cast<short const*>(pcm.data());
  } else {
    short const* from = reinterpret_cast<short const*>(pcm.data()) + ch;
    if (channels == 2) {
#pragma GCC unroll 16
      for (std::size_t i = 0; i < kBlockSamples; ++i) channel[i] = from[2 * i];
    } else {
      for (std::size_t i = 0; i < kBlockSamples; ++i, from += channels) channel[i] = *from;
    }
    samples = channel;
  }
  mPrev[ch] = mEncoder->compress(samples, coded.data(), mPrev[ch], static_cast<int>(mBits));
  return mPrev[ch];
}

int CKvacCoding::Decode(std::vector<unsigned char> const& coded, int /*units*/,
                        std::vector<int> const& /*unitOffsets*/, std::vector<unsigned char>& pcm,
                        int channels, std::vector<int> const& channelList) {
  if (!Fits(pcm, channels, channelList, coded)) {
    return 0;
  }
  std::size_t const ch = static_cast<std::size_t>(channelList[0]);
  if (mPrev.size() <= ch) {
    mPrev.resize(ch + 1, 0);
  }
  unsigned char const* bytes = coded.data();
  if (channels == 1) {
    mPrev[ch] = mDecoder->expand(bytes, reinterpret_cast<short*>(pcm.data()), mPrev[ch],
                                 static_cast<int>(mBits));
  } else {
    short channel[kBlockSamples];
    mPrev[ch] = mDecoder->expand(bytes, channel, mPrev[ch], static_cast<int>(mBits));
    short* to = reinterpret_cast<short*>(pcm.data()) + ch;
    if (channels == 2) {
#pragma GCC unroll 16
      for (std::size_t i = 0; i < kBlockSamples; ++i) to[2 * i] = channel[i];
    } else {
      for (std::size_t i = 0; i < kBlockSamples; ++i, to += channels) *to = channel[i];
    }
  }
  return mPrev[ch];
}

}  // namespace SL
