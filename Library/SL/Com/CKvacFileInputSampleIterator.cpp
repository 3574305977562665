#include "SL/Com/CKvacFileInputSampleIterator.h"

#include "SL/Com/CKvacCoding.h"

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
      mUnitOffsets(1, 0), mChannelLists(), mBlockStart(0), mIndex(0), mAvailable(0),
      mPcm(sNoBlock) {
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
  if (mAvailable > 0) {
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
  mAvailable = 0;
}

void CKvacFileInputSampleIterator::SetBlockStart(long samples) {
  mBlockStart = samples;
  mIndex = 0;
  mAvailable = mValid ? mSampleCount - samples : 0;
}

// Reads and decodes the next block of every channel. A stream that has
// failed or delivers fewer bytes than a block would otherwise leave stale
// bytes to be decoded as sound: the stream ends here instead.
bool CKvacFileInputSampleIterator::LoadBlock() {
  std::streamsize const blockBytes = CKvacCoder::ComputeBufferSize(mBits);
  for (int i = 0; i < mChannels; ++i) {
    // Straight from the stream's buffer: one block, no per-call sentry; the
    // count read is what tells a failed or short stream.
    std::vector<unsigned char>& coded = mCoder->GetCoded(i);
    if (mBuffers[i]->sgetn(reinterpret_cast<char*>(coded.data()), blockBytes) != blockBytes) {
      mStreams[i]->setstate(std::ios::eofbit | std::ios::failbit);
      Invalidate();
      return false;
    }
    mCoder->Decode(i, mUnitOffsets, mChannelLists[i]);
  }
  return true;
}

// Only blocks that hold samples of the stream are read, so a file of
// exactly the blocks it needs ends valid.
void CKvacFileInputSampleIterator::NextBlock() {
  SetBlockStart(mBlockStart + mBlockSamples);
  if (mAvailable > 0) {
    LoadBlock();
  }
}

// A stream that cannot be positioned ends the stream.
void CKvacFileInputSampleIterator::SeekBlock(long block) {
  long const position = mOffset + block * CKvacCoder::ComputeBufferSize(mBits);
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
    mIndex = sample - mBlockStart;  // at or past the end: HasNext is false
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
  mIndex = sample - mBlockStart;
  if (mValid) {
    LoadBlock();
  }
}

long CKvacFileInputSampleIterator::GetLocation() const {
  if (mChannels < 1) {
    return 0;
  }
  return (mBlockStart + mIndex) / mChannels;
}

}  // namespace SL
