#include "SL/Com/CKvacFileInputSampleIterator.h"

#include "SL/Com/CKvacCoding.h"

#include <algorithm>
#include <cstring>

namespace SL {

namespace {
bool IsCodedBits(int bits) { return bits >= 4 && bits <= 8; }
unsigned char const sNoBlock[2] = {0, 0};
}  // namespace

CKvacFileInputSampleIterator::CKvacFileInputSampleIterator(
    int bits, CSampleAttribute const& attribute,
    std::vector<boost::shared_ptr<std::istream> > const& streams, long offset)
    : mAttribute(attribute), mStreams(streams), mBuffers(), mOffset(offset), mSampleCount(0), mCoder(),
      mValid(true), mBits(bits), mChannels(static_cast<int>(streams.size())), mBlockSamples(1),
      mUnitOffsets(1, 0), mChannelLists(), mBlockStart(0), mPcm(sNoBlock), mCurrent(sNoBlock),
      mEnd(sNoBlock), mBlockEnd(sNoBlock + 2), mReadAhead(streams.size()), mNextBlock(0) {
  mAttribute.mBitDepth = CBitDepth::Integer16;
  mAttribute.mChannelCount = mChannels;
  mAttribute.SetEndian(GT::CEndianness::sPlatform);
  for (int i = 0; i < mChannels; ++i) {
    mChannelLists.push_back(std::vector<int>(1, i));
    if (!mStreams[i] || !mStreams[i]->rdbuf()) {
      mValid = false;
    } else {
      mBuffers.push_back(mStreams[i]->rdbuf());
    }
  }
  // Nothing to read from, or a coding that does not exist: an ended stream.
  if (mChannels < 1 || !IsCodedBits(bits) || offset < 0) {
    mValid = false;
  }
  if (!mValid) {
    return;  // one empty sample of one block, never available
  }
  mSampleCount = mAttribute.mFrameCount > 0 ? mAttribute.mFrameCount * mChannels : 0;
  mBlockSamples = static_cast<long>(CKvacCoder::kFramesPerBlock) * mChannels;
  ResetCoder();
  SeekBlock(0);
  SetBlockStart(0);
  if (mEnd > mPcm) {
    LoadBlock();
  }
}

CKvacFileInputSampleIterator::~CKvacFileInputSampleIterator() = default;

void CKvacFileInputSampleIterator::ResetCoder() {
  mCoder.reset(new CKvacCoder(std::make_pair(mBits, 16), std::vector<int>(mChannels, 1), mChannels,
                              boost::shared_ptr<CKvacCoder::ICoding>(new CKvacCoding(mBits))));
  mPcm = mCoder->GetPcm().data();
}

void CKvacFileInputSampleIterator::Invalidate() {
  mValid = false;
  mEnd = mPcm;
}

void CKvacFileInputSampleIterator::SetBlockStart(long samples) {
  mBlockStart = samples;
  long const available = mValid ? std::min(std::max(mSampleCount - samples, 0L), mBlockSamples) : 0;
  mCurrent = mPcm;
  mEnd = mPcm + 2 * available;
  mBlockEnd = mPcm + 2 * mBlockSamples;
}

// Reads and decodes the next block of every channel. A stream that has
// failed or delivers fewer bytes than a block would otherwise leave stale
// bytes to be decoded as sound: the stream ends here instead.
bool CKvacFileInputSampleIterator::LoadBlock() {
  std::size_t const blockBytes = static_cast<std::size_t>(CKvacCoder::ComputeBufferSize(mBits));
  for (int i = 0; i < mChannels; ++i) {
    SReadAhead& ahead = mReadAhead[i];
    if (ahead.end - ahead.at < blockBytes && !ReadAhead(i)) {
      mStreams[i]->setstate(std::ios::eofbit | std::ios::failbit);
      Invalidate();
      return false;
    }
    std::vector<unsigned char>& coded = mCoder->GetCoded(i);
    std::memcpy(coded.data(), ahead.bytes.data() + ahead.at, blockBytes);
    ahead.at += blockBytes;
    mCoder->Decode(i, mUnitOffsets, mChannelLists[i]);
  }
  ++mNextBlock;
  return true;
}

// Many blocks of one stream in one call, straight from its buffer, yet never
// beyond the last block that holds samples of the stream. False when not even
// the next whole block came.
bool CKvacFileInputSampleIterator::ReadAhead(int channel) {
  long const blockBytes = CKvacCoder::ComputeBufferSize(mBits);
  long const blocks = (mSampleCount + mBlockSamples - 1) / mBlockSamples;
  long const wanted = std::max(1L, std::min<long>(kReadAheadBlocks, blocks - mNextBlock));
  SReadAhead& ahead = mReadAhead[channel];
  std::size_t const kept = ahead.end - ahead.at;
  if (kept > 0) {
    std::memmove(ahead.bytes.data(), ahead.bytes.data() + ahead.at, kept);
  }
  ahead.at = 0;
  ahead.end = kept;
  std::size_t const room = static_cast<std::size_t>(wanted * blockBytes) - kept;
  if (ahead.bytes.size() < kept + room) {
    ahead.bytes.resize(kept + room);
  }
  std::streamsize const got =
      mBuffers[channel]->sgetn(reinterpret_cast<char*>(ahead.bytes.data() + kept), static_cast<std::streamsize>(room));
  ahead.end += static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
  return ahead.end >= static_cast<std::size_t>(blockBytes);
}

// Only blocks that hold samples of the stream are read, so a file of
// exactly the blocks it needs ends valid.
void CKvacFileInputSampleIterator::NextBlock() {
  SetBlockStart(mBlockStart + mBlockSamples);
  if (mEnd > mPcm) {
    LoadBlock();
  }
}

// A stream that cannot be positioned ends the stream.
void CKvacFileInputSampleIterator::SeekBlock(long block) {
  long const position = mOffset + block * CKvacCoder::ComputeBufferSize(mBits);
  mNextBlock = block;
  for (SReadAhead& ahead : mReadAhead) {
    ahead.at = ahead.end = 0;
  }
  for (auto& stream : mStreams) {
    stream->clear();
    stream->seekg(position, std::ios::beg);
    if (!*stream) {
      Invalidate();
    }
  }
}

void CKvacFileInputSampleIterator::SetLocation(long frame) {
  if (!mCoder) {
    return;  // never set up
  }
  if (frame < 0) {
    frame = 0;
  }
  mValid = true;
  long const block = frame / CKvacCoder::kFramesPerBlock;
  long const sample = frame * mChannels;
  if (sample >= mSampleCount) {
    SetBlockStart(block * mBlockSamples);
    mCurrent = mPcm + 2 * (sample - mBlockStart);  // at or past the end: HasNext is false
    return;
  }
  // Each block's last reconstructed sample is coded directly, so decoding
  // the block before restores the carried values exactly; the first block
  // starts from zero.
  if (block == 0) {
    ResetCoder();
    SeekBlock(0);
  } else {
    SeekBlock(block - 1);
    if (mValid) {
      LoadBlock();  // a short file ends the stream here, at the frame
    }
  }
  // The block holding the frame is decoded, also inside a block.
  SetBlockStart(block * mBlockSamples);
  mCurrent = mPcm + 2 * (sample - mBlockStart);
  if (mValid) {
    LoadBlock();
  }
}

long CKvacFileInputSampleIterator::GetLocation() const {
  if (mChannels < 1) {
    return 0;
  }
  return (mBlockStart + (mCurrent - mPcm) / 2) / mChannels;
}

}  // namespace SL
