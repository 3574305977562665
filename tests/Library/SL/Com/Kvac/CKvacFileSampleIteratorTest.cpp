#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <gtest/gtest.h>

#include <boost/pointer_cast.hpp>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <vector>

#include "SL/Com/Kvac/CKvacBatch.h"
#include "Support/DeviceCoding.h"

namespace {

using GT::CEndianness;
typedef boost::shared_ptr<std::istream> CIn;
typedef boost::shared_ptr<std::ostream> COut;
typedef boost::shared_ptr<std::stringstream> CBuf;

// The codec's own coding of one channel, block by block with chained prev;
// the last block is completed with zeros.
std::string ReferenceEncode(std::vector<short> const& samples, int bits) {
  auto const coded = VQ7Test::EncodeChannel(samples, 1, 0, bits);
  return std::string(coded.begin(), coded.end());
}

std::vector<short> ReferenceDecode(std::string const& coded, int bits, std::size_t frames) {
  return VQ7Test::DecodeChannel(std::vector<unsigned char>(coded.begin(), coded.end()), frames,
                                bits);
}

SL::CSampleAttribute Attribute(long frames) {
  // Deliberately not what the iterators deliver: they fix depth, channels, order.
  return SL::CSampleAttribute(SL::CBitDepth::Float32, 44100.0, 7, frames, CEndianness::BigEndian);
}

CBuf Buffer(std::string const& bytes = std::string()) {
  return CBuf(new std::stringstream(bytes, std::ios::in | std::ios::out | std::ios::binary));
}

std::vector<short> ReadAll(SL::CKvacFileInputSampleIterator& it) {
  std::vector<short> out;
  while (it.HasNext()) {
    out.push_back(it.Get());
    it.Next();
  }
  return out;
}

// One channel of the shared test signal.
std::vector<short> Lane(std::size_t frames, int channel) {
  std::vector<int16_t> const both = VQ7Test::TestSignal(frames, 2);
  std::vector<short> lane;
  for (std::size_t i = 0; i < frames; ++i) lane.push_back(both[2 * i + channel % 2]);
  return lane;
}

// Writes interleaved samples with the application's finaliser (which only
// completes the last block); returns what the finaliser runs saw.
std::vector<GT::CRange<long> > Write(std::vector<COut> const& streams,
                                     std::vector<short> const& samples, int bits, long begin,
                                     bool* finalized) {
  std::vector<GT::CRange<long> > runs;
  SL::CKvacFileOutputSampleIterator out(
      bits, Attribute(0), streams, GT::CRange<long>(begin, 0x7FFFFFFF),
      [&runs](SL::CKvacFileOutputSampleIterator& it, GT::CRange<long> const& range) {
        runs.push_back(range);
        return it.FinalFlush();
      });
  for (short s : samples) {
    EXPECT_TRUE(out.HasNext());
    out.Set(s);
    out.Next();
    EXPECT_EQ(0, out.GetLocation());
  }
  *finalized = out.Finalize();
  return runs;
}

TEST(KvacFileOutput, TwentyStereoFramesCompleteTheLastBlockWithZeros) {
  auto left = Lane(20, 1);
  auto right = Lane(20, 2);
  CBuf l = Buffer("HEAD"), r = Buffer("head");
  std::vector<COut> streams = {l, r};
  {
    SL::CKvacFileOutputSampleIterator out(8, Attribute(0), streams, GT::CRange<long>(4, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    auto samples = VQ7Test::Interleave({left, right});
    for (std::size_t i = 0; i < samples.size(); ++i) {
      out.Set(samples[i]);
      out.Next();
    }
    // Blocks go out in batches: nothing is written before the final flush.
    EXPECT_EQ(4u, l->str().size());
    EXPECT_TRUE(out.FinalFlush());
    EXPECT_TRUE(out.FinalFlush());  // nothing pending any more
    EXPECT_EQ(0, out.GetLocation());
  }
  EXPECT_EQ("HEAD" + ReferenceEncode(left, 8), l->str());
  EXPECT_EQ("head" + ReferenceEncode(right, 8), r->str());
  EXPECT_EQ(36u, l->str().size());

  // The same through the application's finaliser, run once per stream.
  CBuf l2 = Buffer("HEAD"), r2 = Buffer("head");
  bool finalized = false;
  auto runs = Write({l2, r2}, VQ7Test::Interleave({left, right}), 8, 4, &finalized);
  EXPECT_TRUE(finalized);
  ASSERT_EQ(2u, runs.size());
  EXPECT_EQ(4, runs[0].begin);
  // Each run sees the position at its time: the first completes the block.
  EXPECT_EQ(20, runs[0].end);
  EXPECT_EQ(36, runs[1].end);
  EXPECT_EQ(l->str(), l2->str());
  EXPECT_EQ(r->str(), r2->str());
}

TEST(KvacFileOutput, RangeLimitEndsWriting) {
  CBuf s = Buffer();
  SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {s}, GT::CRange<long>(0, 24),
                                        SL::CKvacFileOutputSampleIterator::CFinalizer());
  long written = 0;
  while (out.HasNext()) {
    out.Set(1000);
    out.Next();
    ++written;
  }
  EXPECT_EQ(16, written);  // a second block would pass byte 24
  // A caller that writes on past the limit gets no part block beyond it.
  for (int i = 0; i < 5; ++i) {
    out.Set(1000);
    out.Next();
  }
  EXPECT_FALSE(out.FinalFlush());
  EXPECT_EQ(16u, s->str().size());
}

TEST(KvacFileOutput, WriteErrorsAreFailures) {
  std::ifstream probe("/dev/full");
  if (!probe) GTEST_SKIP() << "no /dev/full";
  auto full = [] { return COut(new std::ofstream("/dev/full", std::ios::binary)); };

  // A disk that fills while the last, partial block goes out.
  {
    CBuf ok = Buffer();
    SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {ok, full()},
                                          GT::CRange<long>(0, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    for (int i = 0; i < 40; ++i) {
      out.Set(static_cast<short>(i));
      out.Next();
    }
    EXPECT_FALSE(out.FinalFlush());
    EXPECT_FALSE(out.IsValid());
    EXPECT_FALSE(out.HasNext());
  }
  // Whole blocks only: the failure shows when the streams are flushed.
  {
    bool finalized = true;
    Write({full()}, std::vector<short>(32, 5), 8, 0, &finalized);
    EXPECT_FALSE(finalized);
  }
  // A stream that has failed ends writing at the next block.
  {
    CBuf bad = Buffer();
    bad->setstate(std::ios::badbit);
    SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {Buffer(), bad},
                                          GT::CRange<long>(0, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    EXPECT_TRUE(out.HasNext());  // the constructor cleared the state
    bad->setstate(std::ios::badbit);
    for (int i = 0; i < 32 && out.HasNext(); ++i) {
      out.Set(1);
      out.Next();
    }
    EXPECT_FALSE(out.IsValid());
    EXPECT_FALSE(out.HasNext());
    EXPECT_FALSE(out.FinalFlush());
  }
}

// Counts the flushes that reach it.
struct CSyncCounter : std::stringbuf {
  int mSyncs = 0;
  int sync() override { return ++mSyncs, std::stringbuf::sync(); }
};

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * 4096;
}

TEST(KvacFileOutput, ManyChannelsKeepTheBatchesSmallAndFlushOnce) {
  int const channels = 4096;
  std::vector<CSyncCounter> buffers(channels);
  std::vector<COut> streams;
  for (auto& buffer : buffers) streams.push_back(COut(new std::ostream(&buffer)));
  long const before = ResidentBytes();
  SL::CKvacFileOutputSampleIterator out(8, Attribute(0), streams, GT::CRange<long>(0, 0x7FFFFFFF),
                                        [](SL::CKvacFileOutputSampleIterator& it,
                                           GT::CRange<long> const&) { return it.FinalFlush(); });
  for (int i = 0; i < channels; ++i) {
    out.Set(static_cast<short>(i));
    out.Next();
  }
  EXPECT_LT(ResidentBytes() - before, 32L << 20) << "batches grew with the channel count";
  EXPECT_TRUE(out.Finalize());
  for (auto const& buffer : buffers) {
    ASSERT_EQ(16u, buffer.str().size());
    ASSERT_EQ(1, buffer.mSyncs) << "every channel's finaliser flushed every stream";
  }
}

TEST(KvacFileOutput, UnusableSetUpIsInvalid) {
  CBuf s = Buffer();
  SL::CKvacFileOutputSampleIterator none(8, Attribute(0), {}, GT::CRange<long>(0, 100),
                                         SL::CKvacFileOutputSampleIterator::CFinalizer());
  EXPECT_FALSE(none.HasNext());
  EXPECT_FALSE(none.FinalFlush());
  SL::CKvacFileOutputSampleIterator bits(9, Attribute(0), {s}, GT::CRange<long>(0, 100),
                                         SL::CKvacFileOutputSampleIterator::CFinalizer());
  EXPECT_FALSE(bits.HasNext());
  SL::CKvacFileOutputSampleIterator null(8, Attribute(0), {s, COut()}, GT::CRange<long>(0, 100),
                                         SL::CKvacFileOutputSampleIterator::CFinalizer());
  EXPECT_FALSE(null.IsValid());
  null.Set(3);
  null.Next();
  EXPECT_TRUE(s->str().empty());
}

TEST(KvacFileInput, SetLocationDeliversWhatTheFileHolds) {
  auto left = Lane(100, 5);
  auto right = Lane(100, 6);
  std::string lc = ReferenceEncode(left, 8), rc = ReferenceEncode(right, 8);
  CBuf l = Buffer(lc), r = Buffer(rc);
  SL::CKvacFileInputSampleIterator in(8, Attribute(100), {l, r}, 0);
  auto all = ReadAll(in);
  ASSERT_EQ(200u, all.size());
  EXPECT_EQ(VQ7Test::Interleave({ReferenceDecode(lc, 8, 100), ReferenceDecode(rc, 8, 100)}), all);

  // Onto a block boundary: block 2 is decoded at once.
  in.SetLocation(32);
  EXPECT_TRUE(in.HasNext());
  EXPECT_EQ(32, in.GetLocation());
  EXPECT_EQ(all[64], in.Get());
  EXPECT_EQ(std::vector<short>(all.begin() + 64, all.end()), ReadAll(in));

  // Inside a block: the block holding the frame, then on from the file.
  in.SetLocation(37);
  EXPECT_EQ(37, in.GetLocation());
  EXPECT_EQ(std::vector<short>(all.begin() + 74, all.end()), ReadAll(in));
  in.SetLocation(5);
  EXPECT_EQ(std::vector<short>(all.begin() + 10, all.end()), ReadAll(in));
  in.SetLocation(0);
  EXPECT_EQ(all, ReadAll(in));
  in.SetLocation(-3);
  EXPECT_EQ(0, in.GetLocation());
  EXPECT_EQ(all[0], in.Get());

  in.SetLocation(100);
  EXPECT_FALSE(in.HasNext());
  EXPECT_TRUE(in.IsValid());
  in.SetLocation(100000);  // far past the file's end: ended, not failed
  EXPECT_FALSE(in.HasNext());
  EXPECT_TRUE(in.IsValid());
  EXPECT_EQ(100000, in.GetLocation());
  in.SetLocation(std::numeric_limits<long>::max());  // frame x channels would overflow
  EXPECT_FALSE(in.HasNext());
  EXPECT_TRUE(in.IsValid());
  EXPECT_EQ(std::numeric_limits<long>::max() / 2, in.GetLocation());
}

TEST(KvacFileInput, UnusableSetUpIsInvalid) {
  SL::CKvacFileInputSampleIterator none(8, Attribute(10), {}, 0);
  EXPECT_FALSE(none.HasNext());
  EXPECT_FALSE(none.IsValid());
  none.SetLocation(3);
  none.Next();
  EXPECT_EQ(0, none.Get());
  SL::CKvacFileInputSampleIterator bits(3, Attribute(10), {CIn(Buffer(std::string(64, 'a')))}, 0);
  EXPECT_FALSE(bits.HasNext());
  SL::CKvacFileInputSampleIterator null(8, Attribute(10), {CIn()}, 0);
  EXPECT_FALSE(null.HasNext());
  null.SetLocation(0);
  EXPECT_FALSE(null.HasNext());
  SL::CKvacFileInputSampleIterator empty(8, Attribute(0), {CIn(Buffer())}, 0);
  EXPECT_FALSE(empty.HasNext());
  EXPECT_TRUE(empty.IsValid());
}

// Streams of several of the iterators' batches, so that coding on worker
// threads, batch hand-over and the carried values across batches all count.

// Frames of the largest batch; the batches before it are smaller, so these
// lengths cross several batch boundaries.
long const kBatchFrames = 16384L * 16;

std::string AsString(std::vector<unsigned char> const& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Two and a half batches of stereo, a partial block at the end, coded and
// decoded block by block with the codec.
struct SLong {
  long frames = 2 * kBatchFrames + kBatchFrames / 2 + 9;
  std::vector<int16_t> pcm;
  std::string coded[2];
  std::vector<short> decoded;  // interleaved

  SLong() {
    pcm = VQ7Test::TestSignal(static_cast<std::size_t>(frames), 2);
    std::vector<std::vector<int16_t> > lanes;
    for (int c = 0; c < 2; ++c) {
      coded[c] = AsString(VQ7Test::EncodeChannel(pcm, 2, c, 8));
      lanes.push_back(VQ7Test::DecodeChannel(VQ7Test::EncodeChannel(pcm, 2, c, 8),
                                             static_cast<std::size_t>(frames), 8));
    }
    auto const all = VQ7Test::Interleave(lanes);
    decoded.assign(all.begin(), all.end());
  }
};

SLong const& Long() {
  static SLong const data;
  return data;
}

// Writes interleaved samples; flushAt: a sample after which Flush is called
// (or -1). Returns FinalFlush's result.
bool WriteStream(std::vector<COut> const& streams, std::vector<int16_t> const& samples, int bits,
                 long begin, long flushAt = -1) {
  SL::CKvacFileOutputSampleIterator out(bits, Attribute(0), streams,
                                        GT::CRange<long>(begin, 0x7FFFFFFF),
                                        SL::CKvacFileOutputSampleIterator::CFinalizer());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!out.HasNext()) {
      ADD_FAILURE() << "closed at sample " << i;
      return false;
    }
    out.Set(samples[i]);
    out.Next();
    if (static_cast<long>(i) == flushAt) {
      EXPECT_TRUE(out.Flush());
    }
  }
  return out.FinalFlush();
}

std::vector<short> ReadUpTo(SL::CKvacFileInputSampleIterator& in, long samples = -1) {
  std::vector<short> out;
  while (in.HasNext() && samples-- != 0) {
    out.push_back(in.Get());
    in.Next();
  }
  return out;
}

TEST(KvacFileIteratorsThreaded, SeveralBatchesRoundTripLikeTheBlockChain) {
  SLong const& data = Long();
  CBuf l = Buffer("HDR"), r = Buffer("hdr");
  // A flush inside a block of the second batch must change nothing.
  ASSERT_TRUE(WriteStream({l, r}, data.pcm, 8, 3, 2 * (kBatchFrames + 1000) + 5));
  EXPECT_TRUE("HDR" + data.coded[0] == l->str());
  EXPECT_TRUE("hdr" + data.coded[1] == r->str());

  SL::CKvacFileInputSampleIterator in(8, Attribute(data.frames), {l, r}, 3);
  auto const got = ReadUpTo(in);
  EXPECT_TRUE(in.IsValid());
  ASSERT_EQ(data.decoded.size(), got.size());
  EXPECT_TRUE(data.decoded == got);
}

// Exactly two batches: the last one is handed over by the last block, and
// the final flush must still write it. Then a part block in a batch buffer
// that is being used again: it is completed with silence, not with the
// samples the buffer held before.
TEST(KvacFileIteratorsThreaded, WholeBatchesAndALateLastBlockRoundTrip) {
  long const reused = (SL::CKvacBatch::kFirstBlocks * 3 + 100) * 16 + 5;
  for (long frames : {2 * kBatchFrames, reused}) {
    SCOPED_TRACE(frames);
    std::vector<int16_t> const pcm = VQ7Test::TestSignal(static_cast<std::size_t>(frames), 1);
    CBuf s = Buffer();
    ASSERT_TRUE(WriteStream({s}, pcm, 4, 0));
    auto const coded = VQ7Test::EncodeChannel(pcm, 1, 0, 4);
    EXPECT_TRUE(AsString(coded) == s->str());

    SL::CKvacFileInputSampleIterator in(4, Attribute(frames), {s}, 0);
    auto const got = ReadUpTo(in);
    EXPECT_TRUE(in.IsValid());
    auto const expected = VQ7Test::DecodeChannel(coded, pcm.size(), 4);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin(), got.end()));
  }
}

TEST(KvacFileIteratorsThreaded, SetLocationAroundBatchBoundaries) {
  SLong const& data = Long();
  SL::CKvacFileInputSampleIterator in(8, Attribute(data.frames),
                                      {CIn(Buffer(data.coded[0])), CIn(Buffer(data.coded[1]))}, 0);
  ReadUpTo(in, 2 * 1000);
  for (long frame : {kBatchFrames - 1, kBatchFrames, kBatchFrames + 5, 2 * kBatchFrames - 17, 100L,
                     2 * kBatchFrames + 3, data.frames - 1, kBatchFrames - 16, 0L}) {
    in.SetLocation(frame);
    EXPECT_EQ(frame, in.GetLocation());
    // Across the next batch boundary, where there is one.
    auto const got = ReadUpTo(in, 2 * 40000);
    long const expected = std::min(2 * 40000L, 2 * (data.frames - frame));
    ASSERT_EQ(expected, static_cast<long>(got.size())) << frame;
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.decoded.begin() + 2 * frame)) << frame;
    EXPECT_TRUE(in.IsValid()) << frame;
  }
  // From inside the first batch to the end, through every hand-over.
  in.SetLocation(kBatchFrames - 3);
  auto const rest = ReadUpTo(in);
  EXPECT_TRUE(std::equal(rest.begin(), rest.end(), data.decoded.begin() + 2 * (kBatchFrames - 3),
                         data.decoded.end()));
  EXPECT_TRUE(in.IsValid());
}

// One channel's file cut at, just before or just after a batch boundary, or
// inside the block after it: the stream ends at the last whole block.
TEST(KvacFileIteratorsThreaded, ACutChannelEndsTheStreamAtThatBlock) {
  SLong const& data = Long();
  long const batchBlocks = kBatchFrames / 16;
  for (int cut : {0, 1}) {
    for (long keepBytes :
         {batchBlocks * 16, (batchBlocks - 1) * 16, (batchBlocks + 1) * 16, batchBlocks * 16 + 7}) {
      std::string a = data.coded[0], b = data.coded[1];
      (cut == 0 ? a : b).resize(static_cast<std::size_t>(keepBytes));
      long const whole = keepBytes / 16 * 16;  // frames in whole blocks
      SL::CKvacFileInputSampleIterator in(8, Attribute(data.frames),
                                          {CIn(Buffer(a)), CIn(Buffer(b))}, 0);
      auto const got = ReadUpTo(in);
      ASSERT_EQ(2 * whole, static_cast<long>(got.size()))
          << "channel " << cut << " keeps " << keepBytes;
      EXPECT_TRUE(std::equal(got.begin(), got.end(), data.decoded.begin()));
      EXPECT_FALSE(in.IsValid());
      EXPECT_FALSE(in.HasNext());

      // Just before the cut: the rest of the block, then the same end.
      in.SetLocation(whole - 5);
      EXPECT_TRUE(in.IsValid());
      auto const tail = ReadUpTo(in);
      EXPECT_TRUE(std::equal(tail.begin(), tail.end(), data.decoded.begin() + 2 * (whole - 5),
                             data.decoded.begin() + 2 * whole));
      EXPECT_EQ(10u, tail.size());
      EXPECT_FALSE(in.IsValid());
      // On the first block that is missing: nothing, invalid.
      in.SetLocation(whole + 1);
      EXPECT_FALSE(in.HasNext());
      EXPECT_FALSE(in.IsValid());
    }
  }
}

// Destroying the iterators while workers still code a batch for them.
TEST(KvacFileIteratorsThreaded, DestroyedWithABatchInFlight) {
  SLong const& data = Long();
  for (int round = 0; round < 2; ++round) {
    CBuf l = Buffer("HDR"), r = Buffer("hdr");
    std::string leftBefore, rightBefore;
    long const frames = kBatchFrames + kBatchFrames / 2 + round;
    {
      SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {l, r},
                                            GT::CRange<long>(3, 0x7FFFFFFF),
                                            SL::CKvacFileOutputSampleIterator::CFinalizer());
      // Batches are handed over as they fill; the last one is still coding.
      for (long i = 0; i < 2 * frames; ++i) {
        out.Set(data.pcm[static_cast<std::size_t>(i)]);
        out.Next();
      }
      leftBefore = l->str();
      rightBefore = r->str();
    }
    // Destroying writes nothing more; what was written are whole blocks of
    // the stream's start.
    EXPECT_EQ(leftBefore, l->str());
    EXPECT_EQ(rightBefore, r->str());
    std::size_t const written = l->str().size() - 3;
    EXPECT_EQ(written, r->str().size() - 3);
    EXPECT_EQ(0u, written % 16);
    EXPECT_LT(written, static_cast<std::size_t>(frames));
    EXPECT_EQ("HDR" + data.coded[0].substr(0, written), l->str());
    EXPECT_EQ("hdr" + data.coded[1].substr(0, written), r->str());
  }
  for (long frame : {-1L, 0L, kBatchFrames - 7, 2 * kBatchFrames - 1}) {
    SL::CKvacFileInputSampleIterator in(
        8, Attribute(data.frames), {CIn(Buffer(data.coded[0])), CIn(Buffer(data.coded[1]))}, 0);
    if (frame >= 0) {
      in.SetLocation(frame);
    }
    EXPECT_EQ(data.decoded[static_cast<std::size_t>(2 * std::max(frame, 0L))], in.Get());
  }
}

// A disk that fills while a batch is written in the middle of a long stream.
TEST(KvacFileIteratorsThreaded, AFailedBatchWriteEndsWriting) {
  std::ifstream probe("/dev/full");
  if (!probe) GTEST_SKIP() << "no /dev/full";
  SLong const& data = Long();
  CBuf good = Buffer();
  COut full(new std::ofstream("/dev/full", std::ios::binary));
  ASSERT_TRUE(*full);
  SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {good, full},
                                        GT::CRange<long>(0, 0x7FFFFFFF),
                                        SL::CKvacFileOutputSampleIterator::CFinalizer());
  std::size_t taken = 0;
  for (; taken < data.pcm.size() && out.HasNext(); ++taken) {
    out.Set(data.pcm[taken]);
    out.Next();
  }
  EXPECT_LT(taken, data.pcm.size());
  EXPECT_FALSE(out.IsValid());
  EXPECT_FALSE(out.FinalFlush());
  EXPECT_FALSE(out.HasNext());
}

}  // namespace
