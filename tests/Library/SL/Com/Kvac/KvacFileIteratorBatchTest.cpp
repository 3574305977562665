#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SL/Com/Kvac/CKvacBatch.h"
#include "Support/DeviceCoding.h"

// Streams of several of the iterators' batches, so that coding on worker
// threads, batch hand-over and the carried values across batches all count.
namespace {

typedef boost::shared_ptr<std::istream> CIn;
typedef boost::shared_ptr<std::ostream> COut;
typedef boost::shared_ptr<std::stringstream> CBuf;

// Frames of the largest batch; the batches before it are smaller, so these
// lengths cross several batch boundaries.
long const kBatchFrames = 16384L * 16;

SL::CSampleAttribute Attribute(long frames) {
  return SL::CSampleAttribute(SL::CBitDepth::Float32, 44100.0, 7, frames,
                              GT::CEndianness::BigEndian);
}

CBuf Buffer(std::string const& bytes = std::string()) {
  return CBuf(new std::stringstream(bytes, std::ios::in | std::ios::out | std::ios::binary));
}

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
bool Write(std::vector<COut> const& streams, std::vector<int16_t> const& samples, int bits,
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

std::vector<short> Read(SL::CKvacFileInputSampleIterator& in, long samples = -1) {
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
  ASSERT_TRUE(Write({l, r}, data.pcm, 8, 3, 2 * (kBatchFrames + 1000) + 5));
  EXPECT_TRUE("HDR" + data.coded[0] == l->str());
  EXPECT_TRUE("hdr" + data.coded[1] == r->str());

  SL::CKvacFileInputSampleIterator in(8, Attribute(data.frames), {l, r}, 3);
  auto const got = Read(in);
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
    ASSERT_TRUE(Write({s}, pcm, 4, 0));
    auto const coded = VQ7Test::EncodeChannel(pcm, 1, 0, 4);
    EXPECT_TRUE(AsString(coded) == s->str());

    SL::CKvacFileInputSampleIterator in(4, Attribute(frames), {s}, 0);
    auto const got = Read(in);
    EXPECT_TRUE(in.IsValid());
    auto const expected = VQ7Test::DecodeChannel(coded, pcm.size(), 4);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), got.begin(), got.end()));
  }
}

TEST(KvacFileIteratorsThreaded, SetLocationAroundBatchBoundaries) {
  SLong const& data = Long();
  SL::CKvacFileInputSampleIterator in(8, Attribute(data.frames),
                                      {CIn(Buffer(data.coded[0])), CIn(Buffer(data.coded[1]))}, 0);
  Read(in, 2 * 1000);
  for (long frame : {kBatchFrames - 1, kBatchFrames, kBatchFrames + 5, 2 * kBatchFrames - 17, 100L,
                     2 * kBatchFrames + 3, data.frames - 1, kBatchFrames - 16, 0L}) {
    in.SetLocation(frame);
    EXPECT_EQ(frame, in.GetLocation());
    // Across the next batch boundary, where there is one.
    auto const got = Read(in, 2 * 40000);
    long const expected = std::min(2 * 40000L, 2 * (data.frames - frame));
    ASSERT_EQ(expected, static_cast<long>(got.size())) << frame;
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.decoded.begin() + 2 * frame)) << frame;
    EXPECT_TRUE(in.IsValid()) << frame;
  }
  // From inside the first batch to the end, through every hand-over.
  in.SetLocation(kBatchFrames - 3);
  auto const rest = Read(in);
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
      auto const got = Read(in);
      ASSERT_EQ(2 * whole, static_cast<long>(got.size()))
          << "channel " << cut << " keeps " << keepBytes;
      EXPECT_TRUE(std::equal(got.begin(), got.end(), data.decoded.begin()));
      EXPECT_FALSE(in.IsValid());
      EXPECT_FALSE(in.HasNext());

      // Just before the cut: the rest of the block, then the same end.
      in.SetLocation(whole - 5);
      EXPECT_TRUE(in.IsValid());
      auto const tail = Read(in);
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
