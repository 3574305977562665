#include "SL/Com/CKvacFileOutputSampleIterator.h"

#include <cstring>

#include "SL/Com/CKvacCoding.h"

namespace SL {

CKvacFileOutputSampleIterator::CKvacFileOutputSampleIterator(
    int bits, CSampleAttribute const& attribute,
    std::vector<boost::shared_ptr<std::ostream> > const& streams, GT::CRange<long> const& range,
    CFinalizer finalizer)
    : mAttribute(attribute), mStreams(streams), mRange(range), mFinalizer(finalizer),
      mPosition(range.begin), mBlockBytes(CKvacCoder::ComputeBufferSize(bits)), mOpen(false),
      mCoder(), mValid(true), mBits(bits),
      mChannels(static_cast<int>(streams.size())), mBlockSamples(0), mUnitOffsets(1, 0),
      mChannelLists(), mPcm(mNoBlock), mCursor(mNoBlock), mBlockEnd(mNoBlock + 1), mNoBlock() {
  mAttribute.mBitDepth = CBitDepth::Integer16;
  mAttribute.mChannelCount = mChannels;
  mAttribute.SetEndian(GT::CEndianness::sPlatform);
  mBlockSamples = static_cast<long>(CKvacCoder::kFramesPerBlock) * mChannels;
  for (int i = 0; i < mChannels; ++i) {
    mChannelLists.push_back(std::vector<int>(1, i));
    if (!mStreams[i]) {
      mValid = false;
    }
  }
  if (mChannels < 1 || bits < 4 || bits > 8 || range.begin < 0) {
    mValid = false;
  }
  if (!mValid) {
    return;
  }
  UpdateOpen();
  mCoder.reset(new CKvacCoder(std::make_pair(bits, 16), std::vector<int>(mChannels, 1), mChannels,
                              boost::shared_ptr<CKvacCoder::ICoding>(new CKvacCoding(bits))));
  mPcm = reinterpret_cast<short*>(mCoder->GetPcm().data());
  mCursor = mPcm;
  mBlockEnd = mPcm + mBlockSamples;
  for (auto& stream : mStreams) {
    stream->clear();
    stream->seekp(range.begin, std::ios::beg);
  }
}

CKvacFileOutputSampleIterator::~CKvacFileOutputSampleIterator() = default;

// Once invalid, steps only cycle through the block: nothing more is written.
void CKvacFileOutputSampleIterator::CompleteBlock() {
  mCursor = mPcm;
  if (!mValid) {
    return;
  }
  if (!Flush()) {
    mValid = false;
  }
  mPosition += mBlockBytes;
  UpdateOpen();
}

bool CKvacFileOutputSampleIterator::Flush() {
  if (!mCoder) {
    return false;
  }
  std::streamsize const blockBytes = CKvacCoder::ComputeBufferSize(mBits);
  for (int i = 0; i < mChannels; ++i) {
    std::ostream& stream = *mStreams[i];
    mCoder->Encode(mChannelLists[i], i, mUnitOffsets);
    std::streambuf* buffer = stream.rdbuf();
    if (!stream || !buffer) {
      return false;
    }
    // Straight into the stream's buffer; a short write fails the stream.
    if (buffer->sputn(reinterpret_cast<char const*>(mCoder->GetCoded(i).data()), blockBytes) !=
        blockBytes) {
      stream.setstate(std::ios::badbit);
      return false;
    }
  }
  return true;
}

bool CKvacFileOutputSampleIterator::FinalFlush() {
  if (!mCoder) {
    return false;
  }
  bool ok = mValid;
  long const r = mCursor - mPcm;
  if (ok && r != 0) {
    if (mPosition + CKvacCoder::ComputeBufferSize(mBits) > mRange.end) {
      ok = false;  // the last block would pass the range's limit
    }
    std::vector<unsigned char>& pcm = mCoder->GetPcm();
    std::memset(pcm.data() + r * 2, 0, static_cast<std::size_t>(mBlockSamples - r) * 2);
    ok = ok && Flush();
    mCursor = mPcm;
    mPosition += CKvacCoder::ComputeBufferSize(mBits);
  }
  // Buffered bytes may only fail to reach the file now: check every stream
  // after flushing, whether or not a block was pending.
  for (auto& stream : mStreams) {
    stream->flush();
    if (!*stream) {
      ok = false;
    }
  }
  if (!ok) {
    mValid = false;
  }
  UpdateOpen();
  return ok;
}

bool CKvacFileOutputSampleIterator::Finalize() {
  if (!mFinalizer) {
    return true;
  }
  for (int i = 0; i < mChannels; ++i) {
    if (!mFinalizer(*this, GT::CRange<long>(mRange.begin, mPosition))) {
      return false;
    }
  }
  return true;
}

}  // namespace SL
