#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

namespace SL {

namespace {
unsigned char const sNoBlock[2] = {0, 0};

// Bytes read straight from a stream's buffer; a buffer that throws on a read
// error (a file buffer does when the card fails) delivers nothing and fails
// its stream.
std::streamsize ReadFrom(std::istream& stream, std::streambuf& buffer, char* to,
                         std::streamsize bytes) {
  try {
    return buffer.sgetn(to, bytes);
  } catch (std::exception const&) {
    stream.setstate(std::ios::badbit);
    return 0;
  }
}
}  // namespace

CKvacFileInputSampleIterator::CKvacFileInputSampleIterator(
    int bits, CSampleAttribute const& attribute,
    std::vector<boost::shared_ptr<std::istream> > const& streams, long offset)
    : mAttribute(attribute),
      mStreams(streams),
      mBuffers(),
      mOffset(offset),
      mSampleCount(0),
      mValid(true),
      mChannels(static_cast<int>(streams.size())),
      mBlockSamples(1),
      mBlockBytes(KvacBlockBytes(bits)),
      mBlockCount(0),
      mNextBlock(0),
      mReadFailed(false),
      mReadBlocks(CKvacBatch::kFirstBlocks),
      mFront(),
      mBack(),
      mBackPending(false),
      mCoder(),
      mBlockStart(0),
      mPcm(sNoBlock),
      mCurrent(sNoBlock),
      mEnd(sNoBlock),
      mBlockEnd(sNoBlock + 2) {
  mAttribute.mBitDepth = CBitDepth::Integer16;
  mAttribute.mChannelCount = mChannels;
  mAttribute.SetEndian(GT::CEndianness::sPlatform);
  for (int i = 0; i < mChannels; ++i) {
    if (!mStreams[i] || !mStreams[i]->rdbuf()) {
      mValid = false;
    } else {
      mBuffers.push_back(mStreams[i]->rdbuf());
    }
  }
  // Nothing to read from, or a coding that does not exist: an ended stream.
  if (mChannels < 1 || !IsKvacBits(bits) || offset < 0) {
    mValid = false;
  }
  if (!mValid) {
    return;  // one empty sample of one block, never available
  }
  // No stream holds more samples than a long can count.
  long const frames =
      std::min(mAttribute.mFrameCount, std::numeric_limits<long>::max() / mChannels);
  mSampleCount = frames > 0 ? frames * mChannels : 0;
  mBlockSamples = static_cast<long>(nKvacBlockFrames) * mChannels;
  mBlockCount = mSampleCount / mBlockSamples + (mSampleCount % mBlockSamples != 0 ? 1 : 0);
  Reserve(mFront, 1);
  Reserve(mBack, 1);
  mCoder.reset(new CKvacBatchCoder(bits, mChannels));
  mPcm = reinterpret_cast<unsigned char const*>(mFront.pcm.data());
  SeekBlock(0);
  if (mValid && mSampleCount > 0) {
    Prime(0);
  } else {
    ShowNothing(0);
  }
}

// The workers may still be decoding into the batches: stop them first.
CKvacFileInputSampleIterator::~CKvacFileInputSampleIterator() { mCoder.reset(); }

void CKvacFileInputSampleIterator::Invalidate() {
  mValid = false;
  mEnd = mPcm;
}

// Every batch has room for a block at least, so the frames pointer always
// has one to show.
void CKvacFileInputSampleIterator::Reserve(SBatch& batch, long blocks) const {
  batch.Reserve(blocks, mChannels, mBlockSamples, mBlockBytes);
}

// Reads the next batch of whole blocks from every stream, never beyond the
// last block that holds samples. A stream that has failed or delivers fewer
// bytes would otherwise leave stale bytes to be decoded as sound: the batch
// ends before the first block that some stream could not deliver.
void CKvacFileInputSampleIterator::Read(SBatch& batch) {
  long const wanted = std::max(
      0L, std::min(CKvacBatch::Capped(mReadBlocks, mBlockSamples), mBlockCount - mNextBlock));
  mReadBlocks = std::min<long>(2 * mReadBlocks, CKvacBatch::kMaxBlocks);
  Reserve(batch, wanted);
  batch.first = mNextBlock;
  batch.blocks = wanted;
  std::vector<long> got(static_cast<std::size_t>(mChannels), 0);
  for (int i = 0; i < mChannels; ++i) {
    std::streamsize const bytes =
        ReadFrom(*mStreams[i], *mBuffers[i], reinterpret_cast<char*>(batch.coded[i].data()),
                 static_cast<std::streamsize>(batch.blocks * mBlockBytes));
    got[i] = static_cast<long>(std::max<std::streamsize>(bytes, 0)) / mBlockBytes;
    batch.blocks = std::min(batch.blocks, got[i]);
  }
  batch.failed = batch.blocks < wanted;
  if (batch.failed) {
    mReadFailed = true;
    for (int i = 0; i < mChannels; ++i) {
      if (got[i] == batch.blocks) {
        mStreams[i]->setstate(std::ios::eofbit | std::ios::failbit);
      }
    }
  }
  mNextBlock += batch.blocks;
}

void CKvacFileInputSampleIterator::Decode(SBatch& batch) {
  if (batch.blocks > 0) {
    mCoder->StartDecode(batch.CodedIn(), batch.blocks, batch.pcm.data());
  }
}

// The front batch, decoded, becomes what Get reads.
void CKvacFileInputSampleIterator::Show() {
  mPcm = reinterpret_cast<unsigned char const*>(mFront.pcm.data());
  mBlockStart = mFront.first * mBlockSamples;
  long const held = mFront.blocks * mBlockSamples;
  long const available = std::min(std::max(mSampleCount - mBlockStart, 0L), held);
  mCurrent = mPcm;
  mEnd = mPcm + 2 * available;
  mBlockEnd = mPcm + 2 * std::max(held, mBlockSamples);
  if (mFront.blocks == 0 && mFront.failed) {
    Invalidate();  // not even the first block came
  }
}

// Past the stream's end: no samples, positioned at the given sample.
void CKvacFileInputSampleIterator::ShowNothing(long samples) {
  mFront.blocks = 0;
  mFront.failed = false;
  mBlockStart = samples;
  mCurrent = mPcm;
  mEnd = mPcm;
  mBlockEnd = mPcm + 2 * mBlockSamples;
}

// Starts decoding the batch after the front one.
void CKvacFileInputSampleIterator::Prefetch() {
  mBackPending = false;
  if (mReadFailed || mNextBlock >= mBlockCount) {
    return;
  }
  Read(mBack);
  Decode(mBack);
  mBackPending = true;
}

// Reads and decodes the batch from the block the streams are at, then starts
// on the one after it.
void CKvacFileInputSampleIterator::Prime(long block) {
  mNextBlock = block;
  mReadFailed = false;
  mReadBlocks = CKvacBatch::kFirstBlocks;
  Read(mFront);
  Decode(mFront);
  mCoder->Wait();
  Show();
  Prefetch();
}

// Only blocks that hold samples of the stream are read, so a file of
// exactly the blocks it needs ends valid.
void CKvacFileInputSampleIterator::NextBlock() {
  long const next = mBlockStart + std::max(mFront.blocks * mBlockSamples, mBlockSamples);
  if (mFront.failed) {
    ShowNothing(next);
    Invalidate();
    return;
  }
  if (!mBackPending) {
    ShowNothing(next);
    return;
  }
  mCoder->Wait();
  std::swap(mFront, mBack);
  Show();
  Prefetch();
}

// A stream that cannot be positioned ends the stream.
void CKvacFileInputSampleIterator::SeekBlock(long block) {
  long const position = mOffset + block * mBlockBytes;
  mNextBlock = block;
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
  // Clamped first, so that frame x channels cannot overflow.
  frame = std::min(std::max(frame, 0L), std::numeric_limits<long>::max() / mChannels);
  mCoder->Wait();
  mBackPending = false;
  mValid = true;
  long const block = frame / nKvacBlockFrames;
  long const sample = frame * mChannels;
  mPcm = reinterpret_cast<unsigned char const*>(mFront.pcm.data());
  if (sample >= mSampleCount) {
    ShowNothing(block * mBlockSamples);
    mCurrent = mPcm + 2 * (sample - mBlockStart);  // at or past the end: HasNext is false
    return;
  }
  // Each block's last reconstructed sample is coded directly, so the block
  // before restores the carried values exactly; the first block starts from
  // zero.
  if (block == 0) {
    mCoder->ResetPrev();
    SeekBlock(0);
  } else {
    SeekBlock(block - 1);
    if (mValid) {
      std::vector<unsigned char> before(static_cast<std::size_t>(mBlockBytes * mChannels));
      std::vector<unsigned char const*> coded;
      for (int i = 0; i < mChannels && mValid; ++i) {
        unsigned char* to = before.data() + i * mBlockBytes;
        coded.push_back(to);
        if (ReadFrom(*mStreams[i], *mBuffers[i], reinterpret_cast<char*>(to), mBlockBytes) !=
            mBlockBytes) {
          mStreams[i]->setstate(std::ios::eofbit | std::ios::failbit);
          Invalidate();  // a short file ends the stream here, at the frame
        }
      }
      if (mValid) {
        mCoder->RestorePrev(coded);
        mNextBlock = block;
      }
    }
  }
  if (mValid) {
    Prime(block);  // the block holding the frame is decoded, also inside a block
  } else {
    ShowNothing(block * mBlockSamples);
    Invalidate();
  }
  mCurrent = mPcm + 2 * (sample - mBlockStart);
}

long CKvacFileInputSampleIterator::GetLocation() const {
  if (mChannels < 1) {
    return 0;
  }
  return (mBlockStart + (mCurrent - mPcm) / 2) / mChannels;
}

}  // namespace SL
