#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <algorithm>
#include <cstring>

namespace SL {

CKvacFileOutputSampleIterator::CKvacFileOutputSampleIterator(
    int bits, CSampleAttribute const& attribute,
    std::vector<boost::shared_ptr<std::ostream> > const& streams, GT::CRange<long> const& range,
    CFinalizer finalizer)
    : mAttribute(attribute),
      mStreams(streams),
      mRange(range),
      mFinalizer(finalizer),
      mPosition(range.begin),
      mBlockBytes(KvacBlockBytes(bits)),
      mOpen(false),
      mValid(true),
      mChannels(static_cast<int>(streams.size())),
      mBlockSamples(0),
      mFill(),
      mCoding(),
      mBatchBlocks(CKvacBatch::kFirstBlocks),
      mInFlight(false),
      mFinalFlushed(false),
      mCoder(),
      mBlockBegin(mNoBlock),
      mCursor(mNoBlock),
      mBlockEnd(mNoBlock + 1),
      mNoBlock() {
  mAttribute.mBitDepth = CBitDepth::Integer16;
  mAttribute.mChannelCount = mChannels;
  mAttribute.SetEndian(GT::CEndianness::sPlatform);
  mBlockSamples = static_cast<long>(nKvacBlockFrames) * mChannels;
  mBatchBlocks = CKvacBatch::Capped(mBatchBlocks, mBlockSamples);
  for (int i = 0; i < mChannels; ++i) {
    if (!mStreams[i]) {
      mValid = false;
    }
  }
  if (mChannels < 1 || !IsKvacBits(bits) || range.begin < 0) {
    mValid = false;
  }
  if (!mValid) {
    return;
  }
  UpdateOpen();
  mCoder.reset(new CKvacBatchCoder(bits, mChannels));
  Reserve(mFill);
  mBlockBegin = mCursor = mFill.pcm.data();
  mBlockEnd = mBlockBegin + mBlockSamples;
  for (auto& stream : mStreams) {
    stream->clear();
    stream->seekp(range.begin, std::ios::beg);
  }
}

void CKvacFileOutputSampleIterator::Reserve(CKvacBatch& batch) const {
  batch.Reserve(mBatchBlocks, mChannels, mBlockSamples, mBlockBytes);
}

// The workers may still be coding into the batches: stop them first.
CKvacFileOutputSampleIterator::~CKvacFileOutputSampleIterator() { mCoder.reset(); }

bool CKvacFileOutputSampleIterator::StreamsGood() const {
  for (auto const& stream : mStreams) {
    if (!*stream || !stream->rdbuf()) {
      return false;
    }
  }
  return true;
}

// A complete block counts unless a stream has failed; once invalid, steps
// only cycle through the block and nothing more is written.
void CKvacFileOutputSampleIterator::CompleteBlock() {
  if (!mValid) {
    mCursor = mBlockBegin;
    return;
  }
  if (!StreamsGood()) {
    mValid = false;
    mCursor = mBlockBegin;
  } else if (++mFill.blocks == mBatchBlocks) {
    if (!Submit()) {
      mValid = false;
    }
  } else {
    mBlockBegin = mBlockEnd;
    mBlockEnd += mBlockSamples;
  }
  mPosition += mBlockBytes;
  UpdateOpen();
}

// Writes the batch before, then hands the filled blocks to the coder and
// starts filling the other batch.
bool CKvacFileOutputSampleIterator::Submit() {
  bool const ok = Collect();
  if (ok && mFill.blocks > 0) {
    mCoder->StartEncode(mFill.pcm.data(), mFill.blocks, mFill.CodedOut());
    bool const full = mFill.blocks == mBatchBlocks;
    std::swap(mFill, mCoding);
    mInFlight = true;
    if (full) {
      mBatchBlocks = CKvacBatch::Capped(std::min<long>(2 * mBatchBlocks, CKvacBatch::kMaxBlocks),
                                        mBlockSamples);
    }
    Reserve(mFill);
  }
  mFill.blocks = 0;
  mBlockBegin = mCursor = mFill.pcm.data();
  mBlockEnd = mBlockBegin + mBlockSamples;
  return ok;
}

// Waits for the batch being coded and writes it, channel by channel; stops
// at the first stream that has failed.
bool CKvacFileOutputSampleIterator::Collect() {
  if (!mInFlight) {
    return true;
  }
  mCoder->Wait();
  mInFlight = false;
  std::streamsize const bytes = static_cast<std::streamsize>(mCoding.blocks * mBlockBytes);
  for (int i = 0; i < mChannels; ++i) {
    std::ostream& stream = *mStreams[i];
    std::streambuf* buffer = stream.rdbuf();
    if (!stream || !buffer) {
      return false;
    }
    // Straight into the stream's buffer; a short write fails the stream.
    if (buffer->sputn(reinterpret_cast<char const*>(mCoding.coded[i].data()), bytes) != bytes) {
      stream.setstate(std::ios::badbit);
      return false;
    }
  }
  return true;
}

bool CKvacFileOutputSampleIterator::Flush() {
  if (!mCoder) {
    return false;
  }
  if (!mValid) {
    mCoder->Wait();
    return false;
  }
  // The partial block being filled stays where it is.
  std::vector<short> const partial(mBlockBegin, mCursor);
  bool const ok = Submit() && Collect() && StreamsGood();
  mCursor = std::copy(partial.begin(), partial.end(), mBlockBegin);
  return ok;
}

bool CKvacFileOutputSampleIterator::FinalFlush() {
  if (!mCoder) {
    return false;
  }
  long const r = mCursor - mBlockBegin;
  // The finaliser runs once per channel: with nothing written since the last
  // final flush, the streams need no second one.
  if (mFinalFlushed && r == 0 && mFill.blocks == 0 && !mInFlight) {
    return mValid;
  }
  bool ok = mValid;
  if (ok && r != 0) {
    std::fill(mCursor, mBlockBegin + mBlockSamples, static_cast<short>(0));
    if (mPosition + mBlockBytes > mRange.end) {
      ok = false;  // the last block would pass the range's limit
    } else {
      ++mFill.blocks;
    }
    mPosition += mBlockBytes;
    mCursor = mBlockBegin;
  }
  // Whole blocks go out even when the last one cannot.
  if (mValid && !(Submit() && Collect())) {
    ok = false;
  }
  mCoder->Wait();
  mInFlight = false;
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
  mFinalFlushed = true;
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
