#include "SL/Com/Kvac/CKvacCoder.h"

#include "SL/Com/Kvac/KvacBlock.h"

namespace SL {

CKvacCoder::CKvacCoder(std::pair<int, int> const& format, std::vector<int> const& units,
                       int channels, boost::shared_ptr<ICoding> coding)
    : mFormat(format), mUnits(units), mChannels(channels), mCoded(), mPcm(), mCoding(coding) {
  InitializeBuffer();
}

CKvacCoder::CKvacCoder(CKvacCoder const& other)
    : mFormat(other.mFormat),
      mUnits(other.mUnits),
      mChannels(other.mChannels),
      mCoded(other.mCoded),
      mPcm(other.mPcm),
      mCoding(other.mCoding ? other.mCoding->Clone() : nullptr) {}

CKvacCoder& CKvacCoder::operator=(CKvacCoder const& other) {
  if (this != &other) {
    CKvacCoder copy(other);
    Swap(copy);
  }
  return *this;
}

void CKvacCoder::Swap(CKvacCoder& other) {
  std::swap(mFormat, other.mFormat);
  mUnits.swap(other.mUnits);
  std::swap(mChannels, other.mChannels);
  mCoded.swap(other.mCoded);
  mPcm.swap(other.mPcm);
  mCoding.swap(other.mCoding);
}

void CKvacCoder::InitializeBuffer() {
  int const channels = mChannels > 0 ? mChannels : 0;
  mPcm.assign(static_cast<std::size_t>(nKvacBlockFrames) * (mFormat.second / 8) * channels, 0);
  mCoded.clear();
  mCoded.reserve(mUnits.size());
  for (int units : mUnits) {
    int const n = units > 0 ? units : 0;
    mCoded.push_back(std::vector<unsigned char>(
        static_cast<std::size_t>(ComputeBufferSize(mFormat.first)) * n, 0));
  }
}

int CKvacCoder::ComputeBufferSize(int bits) { return static_cast<int>(KvacBlockBytes(bits)); }

int CKvacCoder::ComputeSampleUnitsPerCluster(unsigned long clusterBytes, int bits) {
  if (bits <= 0) {
    return 0;
  }
  int const perCluster = 32768 / ComputeBufferSize(bits);
  if (clusterBytes == 32768) {
    return perCluster;
  }
  if (clusterBytes == 65536) {
    return 2 * perCluster;
  }
  return 0;
}

}  // namespace SL
