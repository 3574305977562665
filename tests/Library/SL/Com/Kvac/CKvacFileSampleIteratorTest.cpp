#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <gtest/gtest.h>

#include <boost/pointer_cast.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

namespace {

using GT::CEndianness;
typedef boost::shared_ptr<std::istream> CIn;
typedef boost::shared_ptr<std::ostream> COut;
typedef boost::shared_ptr<std::stringstream> CBuf;

// The codec's own coding of one channel, block by block with chained prev;
// the last block is completed with zeros.
std::string ReferenceEncode(std::vector<short> samples, int bits) {
  samples.resize((samples.size() + 15) / 16 * 16, 0);
  SL::Private::compressor c;
  std::string out;
  int prev = 0;
  unsigned char block[16];
  for (std::size_t i = 0; i < samples.size(); i += 16) {
    prev = c.compress(&samples[i], block, prev, bits);
    out.append(reinterpret_cast<char*>(block), 2 * bits);
  }
  return out;
}

std::vector<short> ReferenceDecode(std::string const& coded, int bits, std::size_t frames) {
  SL::Private::expander e;
  std::vector<short> out;
  int prev = 0;
  short block[16];
  for (std::size_t at = 0; at + 2 * bits <= coded.size() && out.size() < frames; at += 2 * bits) {
    prev = e.expand(reinterpret_cast<unsigned char const*>(coded.data() + at), block, prev, bits);
    out.insert(out.end(), block, block + 16);
  }
  out.resize(std::min(out.size(), frames));
  return out;
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

std::vector<short> Interleave(std::vector<short> const& l, std::vector<short> const& r) {
  std::vector<short> out;
  for (std::size_t i = 0; i < l.size(); ++i) {
    out.push_back(l[i]);
    out.push_back(r[i]);
  }
  return out;
}

std::vector<short> Tone(std::size_t n, double step, double amplitude, int seed) {
  std::vector<short> out;
  std::mt19937 random(seed);
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(static_cast<short>(amplitude * std::sin(step * i) + (random() % 200) - 100.0));
  }
  return out;
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
  auto left = Tone(20, 0.3, 9000, 1);
  auto right = Tone(20, 0.05, 20000, 2);
  CBuf l = Buffer("HEAD"), r = Buffer("head");
  std::vector<COut> streams = {l, r};
  {
    SL::CKvacFileOutputSampleIterator out(8, Attribute(0), streams, GT::CRange<long>(4, 0x7FFFFFFF),
                                          SL::CKvacFileOutputSampleIterator::CFinalizer());
    EXPECT_EQ(65552, out.GetAttribute().mBitDepth.GetValue());
    EXPECT_EQ(2, out.GetAttribute().mChannelCount);
    EXPECT_EQ(CEndianness::sPlatform, out.GetAttribute().GetEndian());
    auto samples = Interleave(left, right);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      out.Set(samples[i]);
      out.Next();
    }
    // Blocks go out in batches: nothing is written before the final flush.
    EXPECT_EQ(4u, l->str().size());
    EXPECT_TRUE(out.FinalFlush());
    EXPECT_TRUE(out.FinalFlush());  // nothing pending any more
    EXPECT_EQ(0, out.GetLocation());
    EXPECT_EQ(0, out.TellLocation(5));
    EXPECT_EQ(9, out.ToCurrentFrame(9));
  }
  EXPECT_EQ("HEAD" + ReferenceEncode(left, 8), l->str());
  EXPECT_EQ("head" + ReferenceEncode(right, 8), r->str());
  EXPECT_EQ(36u, l->str().size());

  // The same through the application's finaliser, run once per stream.
  CBuf l2 = Buffer("HEAD"), r2 = Buffer("head");
  bool finalized = false;
  auto runs = Write({l2, r2}, Interleave(left, right), 8, 4, &finalized);
  EXPECT_TRUE(finalized);
  ASSERT_EQ(2u, runs.size());
  EXPECT_EQ(4, runs[0].begin);
  // Each run sees the position at its time: the first completes the block.
  EXPECT_EQ(20, runs[0].end);
  EXPECT_EQ(36, runs[1].end);
  EXPECT_EQ(l->str(), l2->str());
  EXPECT_EQ(r->str(), r2->str());
}

TEST(KvacFileOutput, WholeBlocksNeedNoFinalBlock) {
  auto mono = Tone(32, 0.2, 12000, 3);
  CBuf s = Buffer();
  SL::CKvacFileOutputSampleIterator out(8, Attribute(0), {s}, GT::CRange<long>(0, 0x7FFFFFFF),
                                        SL::CKvacFileOutputSampleIterator::CFinalizer());
  for (short v : mono) {
    out.Set(v);
    out.Next();
  }
  EXPECT_TRUE(out.FinalFlush());
  EXPECT_EQ(32u, s->str().size());
  EXPECT_EQ(ReferenceEncode(mono, 8), s->str());
  EXPECT_TRUE(out.Finalize());  // without a finaliser there is nothing to run
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
  EXPECT_TRUE(out.FinalFlush());
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
class CSyncCounter : public std::stringbuf {
public:
  int mSyncs = 0;

protected:
  int sync() override {
    ++mSyncs;
    return std::stringbuf::sync();
  }
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

TEST(KvacFileInput, IsReachedThroughTheSampleIteratorInterfaces) {
  auto mono = Tone(16, 0.4, 3000, 9);
  std::string coded = ReferenceEncode(mono, 8);
  boost::shared_ptr<SL::IInputSampleIterator> in(
      new SL::CKvacFileInputSampleIterator(8, Attribute(16), {CIn(Buffer(coded))}, 0));
  auto typed = boost::dynamic_pointer_cast<SL::ITypedInputSampleIterator<65552> >(in);
  ASSERT_TRUE(typed);
  auto expected = ReferenceDecode(coded, 8, 16);
  std::vector<short> got;
  while (in->HasNext()) {
    got.push_back(typed->Get());
    in->Next();
  }
  EXPECT_EQ(expected, got);
  EXPECT_EQ(16, in->GetLocation());
  EXPECT_TRUE(in->IsValid());
}

TEST(KvacFileInput, FourBitMonoOfFortyFramesReadsThreeBlocks) {
  auto mono = Tone(40, 0.4, 3000, 4);
  std::string coded = ReferenceEncode(mono, 4);
  ASSERT_EQ(24u, coded.size());
  CBuf s = Buffer("xyz" + coded + std::string(8, '\x5A'));
  SL::CKvacFileInputSampleIterator in(4, Attribute(40), {s}, 3);
  EXPECT_TRUE(in.HasNext());
  EXPECT_EQ(0, in.GetLocation());
  EXPECT_EQ(10, in.TellLocation(10));
  EXPECT_EQ(65552, in.GetAttribute().mBitDepth.GetValue());
  EXPECT_EQ(1, in.GetAttribute().mChannelCount);
  EXPECT_EQ(40, in.GetAttribute().mFrameCount);
  EXPECT_EQ(44100.0, in.GetAttribute().mSampleRate);
  EXPECT_EQ(CEndianness::sPlatform, in.GetAttribute().GetEndian());
  EXPECT_EQ(ReferenceDecode(coded, 4, 40), ReadAll(in));
  EXPECT_TRUE(in.IsValid());
  EXPECT_EQ(27, s->tellg());  // three blocks after the offset, no fourth
  EXPECT_EQ(4, in.ToCurrentFrame(4));
}

TEST(KvacFileInput, SetLocationDeliversWhatTheFileHolds) {
  auto left = Tone(100, 0.11, 15000, 5);
  auto right = Tone(100, 0.37, 8000, 6);
  std::string lc = ReferenceEncode(left, 8), rc = ReferenceEncode(right, 8);
  CBuf l = Buffer(lc), r = Buffer(rc);
  SL::CKvacFileInputSampleIterator in(8, Attribute(100), {l, r}, 0);
  auto all = ReadAll(in);
  ASSERT_EQ(200u, all.size());
  EXPECT_EQ(Interleave(ReferenceDecode(lc, 8, 100), ReferenceDecode(rc, 8, 100)), all);

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

TEST(KvacFileInput, ShortChannelFilesEndTheStream) {
  auto left = Tone(40, 0.2, 10000, 7);
  auto right = Tone(40, 0.3, 10000, 8);
  std::string lc = ReferenceEncode(left, 8), rc = ReferenceEncode(right, 8);
  auto expected = Interleave(ReferenceDecode(lc, 8, 40), ReferenceDecode(rc, 8, 40));
  // Either channel cut short, at a block boundary or inside a block.
  for (int cut : {0, 1}) {
    for (std::size_t keep : {std::size_t(32), std::size_t(37), std::size_t(16), std::size_t(0)}) {
      std::string a = lc, b = rc;
      (cut == 0 ? a : b).resize(keep);
      SL::CKvacFileInputSampleIterator in(8, Attribute(40), {CIn(Buffer(a)), CIn(Buffer(b))}, 0);
      auto got = ReadAll(in);
      std::size_t const whole = keep / 16 * 16 * 2;
      EXPECT_EQ(std::vector<short>(expected.begin(), expected.begin() + whole), got)
          << "channel " << cut << " keeps " << keep;
      EXPECT_FALSE(in.IsValid());
      EXPECT_FALSE(in.HasNext());
      // A later reposition reads what is there again.
      in.SetLocation(0);
      EXPECT_EQ(keep >= 16, in.IsValid());
      EXPECT_EQ(std::vector<short>(expected.begin(), expected.begin() + whole), ReadAll(in));
      // Repositioned onto blocks the file lacks: ended there, at that frame.
      in.SetLocation(33);
      EXPECT_EQ(33, in.GetLocation());
      EXPECT_FALSE(in.HasNext());
      EXPECT_FALSE(in.IsValid());
    }
  }
  // An offset beyond the end of the file: nothing to deliver.
  SL::CKvacFileInputSampleIterator past(8, Attribute(40), {CIn(Buffer(lc))}, 1000);
  EXPECT_FALSE(past.HasNext());
  EXPECT_FALSE(past.IsValid());
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

// Several seconds of music-like stereo: tones, noise, silence, full-scale rails.
std::vector<short> MusicLike(std::size_t frames, int channel) {
  std::mt19937 random(42 + channel);
  std::normal_distribution<double> noise(0.0, 6000.0);
  std::vector<short> out(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / 44100.0;
    double v;
    switch ((i / 22050) % 5) {
      case 0:
        v = 12000 * std::sin(2 * M_PI * (220 + 110 * channel) * t) +
            6000 * std::sin(2 * M_PI * 1375 * t);
        break;
      case 1:
        v = noise(random);
        break;
      case 2:
        v = 0;
        break;
      case 3:
        v = (i / 37) % 2 ? 32767 : -32768;
        break;
      default:
        v = 40000 * std::sin(2 * M_PI * 3000 * t) * std::exp(-3 * std::fmod(t, 0.5));
        break;
    }
    out[i] = static_cast<short>(std::max(-32768.0, std::min(32767.0, v)));
  }
  return out;
}

TEST(KvacFileSampleIterators, LongStereoRoundTripMatchesTheCodec) {
  std::size_t const frames = 5 * 44100 + 7;
  auto left = MusicLike(frames, 0);
  auto right = MusicLike(frames, 1);
  CBuf l = Buffer("0123456789"), r = Buffer("0123456789");
  bool finalized = false;
  Write({l, r}, Interleave(left, right), 8, 10, &finalized);
  ASSERT_TRUE(finalized);
  std::string lc = l->str().substr(10), rc = r->str().substr(10);
  EXPECT_EQ(ReferenceEncode(left, 8), lc);
  EXPECT_EQ(ReferenceEncode(right, 8), rc);

  SL::CKvacFileInputSampleIterator in(8, Attribute(static_cast<long>(frames)), {l, r}, 10);
  auto got = ReadAll(in);
  EXPECT_TRUE(in.IsValid());
  auto lref = ReferenceDecode(lc, 8, frames), rref = ReferenceDecode(rc, 8, frames);
  ASSERT_EQ(Interleave(lref, rref), got);

  // Within the codec's error bound: half the coarsest quantum (b = 8,
  // shift 13: quantum 2^9).
  int worst = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    worst = std::max(worst, std::abs(left[i] - lref[i]));
    worst = std::max(worst, std::abs(right[i] - rref[i]));
  }
  EXPECT_LE(worst, 256);
}

}  // namespace

// Files longer than what the input reads from a stream at once: a cut deep in
// the file, in either channel, ends the stream exactly there; repositioning
// far back and far ahead after reading delivers what a read from the start
// delivers; and nothing is read beyond the last block the stream needs.
TEST(KvacFileInput, LongFilesCutDeepAndRepositioned) {
  std::size_t const frames = 5000 * 16 + 9;
  auto left = MusicLike(frames, 0);
  auto right = MusicLike(frames, 1);
  std::string lc = ReferenceEncode(left, 8), rc = ReferenceEncode(right, 8);
  auto const all = Interleave(ReferenceDecode(lc, 8, frames), ReferenceDecode(rc, 8, frames));

  for (int cut : {0, 1}) {
    for (std::size_t keep : {std::size_t(4096 * 16), std::size_t(4500 * 16 + 5)}) {
      std::string a = lc, b = rc;
      (cut == 0 ? a : b).resize(keep);
      SL::CKvacFileInputSampleIterator in(8, Attribute(static_cast<long>(frames)),
                                          {CIn(Buffer(a)), CIn(Buffer(b))}, 0);
      std::size_t const whole = keep / 16 * 16 * 2;
      auto got = ReadAll(in);
      ASSERT_EQ(whole, got.size()) << "channel " << cut << " keeps " << keep;
      EXPECT_TRUE(std::equal(got.begin(), got.end(), all.begin()));
      EXPECT_FALSE(in.IsValid());
    }
  }

  CBuf l = Buffer(lc + std::string(64, '\x33')), r = Buffer(rc + std::string(64, '\x44'));
  SL::CKvacFileInputSampleIterator in(8, Attribute(static_cast<long>(frames)), {l, r}, 0);
  for (int i = 0; i < 2 * 4200 * 16; ++i) in.Next();
  for (long frame : {17L, 70000L, 4095L * 16 + 3, 0L, static_cast<long>(frames) - 1}) {
    in.SetLocation(frame);
    ASSERT_TRUE(in.HasNext()) << frame;
    EXPECT_EQ(frame, in.GetLocation());
    auto rest = ReadAll(in);
    ASSERT_EQ(all.size() - 2 * static_cast<std::size_t>(frame), rest.size()) << frame;
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), all.begin() + 2 * frame)) << frame;
    EXPECT_TRUE(in.IsValid());
    EXPECT_EQ(static_cast<long>(lc.size()), l->tellg()) << "no byte after the last block";
    EXPECT_EQ(static_cast<long>(rc.size()), r->tellg());
  }
}
