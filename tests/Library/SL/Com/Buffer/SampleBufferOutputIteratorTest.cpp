#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Buffer/CReferentialSampleBuffer.h"
#include "SL/Com/Buffer/CRingSampleBuffer.h"
#include "SL/Com/Buffer/IFileSampleBufferMixin.h"

#include "Support/AudioFixtures.h"
#include "Support/CMemorySampleBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace TestSupport;
using SL::CWaveFileFormat;

namespace {

enum EKind { nMemory, nReferential, nRing, nWav, nAiff };
char const* const sKindNames[] = {"memory", "referential", "ring", "WAV file", "AIFF file"};
long const kFrames = 10;

// A buffer of kFrames frames of one kind, filled and read back apart from
// the output iterators under test: memory through a view of its bytes, a
// file written in order and read back through an input buffer.
template <int N>
class CSubject {
public:
  typedef SL::ITypedSampleBuffer<N> CBuffer;
  typedef typename CBuffer::CValueType T;

  CSubject(EKind kind, int channels, std::string const& path)
      : mChannels(channels), mPath(path), mBytes(Size(), 0) {
    GT::CEndianness::EEndian const order =
        kind == nReferential ? GT::CEndianness::BigEndian : GT::CEndianness::sPlatform;
    if (kind == nMemory) {
      auto* memory = new Test::CMemorySampleBuffer<N>(channels, kFrames, order);
      mOwned.reset(memory);
      mBuffer = memory;
      mData = memory->Bytes().data();
    } else if (kind == nReferential) {
      mOwned.reset(new SL::CReferentialSampleBuffer<N>(mBytes.data(), mBytes.data() + Size(),
                                                       channels, order));
      mBuffer = static_cast<CBuffer*>(mOwned.get());
      mData = mBytes.data();
    } else if (kind == nRing) {
      auto* ring = new SL::CRingSampleBuffer<N>(channels, 2 * kFrames, order);
      mOwned.reset(ring);
      mBuffer = ring;
      mData = ring->std::vector<unsigned char>::data();
    } else {
      SL::CSampleAttribute const a(SL::CBitDepth(static_cast<int>(N)), 22050.0, channels, kFrames,
                                   GT::CEndianness::sPlatform);
      mOwned = SL::CFileSampleBufferFactory().Create(
          a, path, kind == nWav ? CWaveFileFormat::RiffWave : CWaveFileFormat::FormAiff);
      mBuffer = dynamic_cast<CBuffer*>(mOwned.get());
    }
    if (mData)
      mView.reset(new SL::CReferentialSampleBuffer<N>(mData, mData + Size(), channels, order));
  }

  CBuffer* Buffer() const { return mBuffer; }

  void Fill(std::vector<double> const& values) {
    CBuffer& target = mView ? *mView : *mBuffer;
    auto out = target.OutputBegin();
    for (double v : values) {
      *out = static_cast<T>(v);
      ++out;
    }
  }

  std::vector<double> Held() {
    std::vector<double> values;
    boost::shared_ptr<SL::ISampleBuffer> in;
    CBuffer* source = mView.get();
    if (!source) {
      EXPECT_TRUE(dynamic_cast<SL::IFileSampleBufferMixin&>(*mOwned).Finalize());
      in = SL::CFileSampleBufferFactory().Create(mPath);
      source = dynamic_cast<CBuffer*>(in.get());
      if (!source) return values;
    }
    for (auto it = source->InputBegin(); it != source->InputEnd(); ++it) values.push_back(*it);
    return values;
  }

private:
  std::size_t Size() const {
    return static_cast<std::size_t>(kFrames * mChannels * SL::BytesOf(N));
  }

  int mChannels;
  std::string mPath;
  std::vector<unsigned char> mBytes;
  boost::shared_ptr<SL::ISampleBuffer> mOwned;  // whichever kind, owned here
  CBuffer* mBuffer = nullptr;
  unsigned char* mData = nullptr;
  std::unique_ptr<SL::CReferentialSampleBuffer<N>> mView;
};

template <int N>
struct CCase {
  char const* name;
  int channels;
  std::function<void(SL::ITypedSampleBuffer<N>&)> run;
  std::function<void(std::vector<double>&)> expect;  // what the run makes of the samples
};

template <int N>
std::vector<CCase<N>> Cases() {
  typedef SL::ITypedSampleBuffer<N> CBuffer;
  typedef typename CBuffer::CValueType T;
  std::vector<int> const left = {0}, right = {1};
  auto const fifthToFirst = [](std::vector<double>& v) {
    v[0] = v[5];
    v[1] = 7;
  };
  return {
      {"*a = *z, then a write through a", 1,
       [](CBuffer& b) {
         auto a = b.OutputBegin();
         auto z = b.OutputAt(5);
         *a = *z;
         ++a;
         *a = T(7);
       },
       fifthToFirst},
      {"*a = *temporary, then a write through a", 1,
       [](CBuffer& b) {
         auto a = b.OutputBegin();
         *a = *b.OutputAt(5);
         ++a;
         *a = T(7);
       },
       fifthToFirst},
      {"std::copy between output ranges", 1,
       [](CBuffer& b) { std::copy(b.OutputAt(5), b.OutputAt(8), b.OutputBegin()); },
       [](std::vector<double>& v) { std::copy(v.begin() + 5, v.begin() + 8, v.begin()); }},
      {"*it++ = v, the last not advanced past", 1,
       [](CBuffer& b) {
         auto it = b.OutputAt(2);
         *it++ = T(7);
         *it++ = T(8);
         *it = T(9);
       },
       [](std::vector<double>& v) {
         v[2] = 7;
         v[3] = 8;
         v[4] = 9;
       }},
      {"std::iter_swap", 1, [](CBuffer& b) { std::iter_swap(b.OutputAt(0), b.OutputAt(1)); },
       [](std::vector<double>& v) { std::swap(v[0], v[1]); }},
      {"swap(*a, *z), and of a sample with itself", 1,
       [](CBuffer& b) {
         auto a = b.OutputAt(2);
         auto z = b.OutputAt(7);
         using std::swap;
         swap(*a, *z);
         swap(*a, *b.OutputAt(2));
       },
       [](std::vector<double>& v) { std::swap(v[2], v[7]); }},
      {"std::rotate", 1,
       [](CBuffer& b) { std::rotate(b.OutputBegin(), b.OutputAt(1), b.OutputAt(4)); },
       [](std::vector<double>& v) { std::rotate(v.begin(), v.begin() + 1, v.begin() + 4); }},
      {"std::swap_ranges between channels", 2,
       [left, right](CBuffer& b) {
         std::swap_ranges(b.OutputBegin(left), b.OutputAt(left, kFrames), b.OutputBegin(right));
       },
       [](std::vector<double>& v) {
         for (std::size_t i = 0; i < v.size(); i += 2) std::swap(v[i], v[i + 1]);
       }},
      {"std::copy from one channel list to another", 2,
       [left, right](CBuffer& b) {
         std::copy(b.OutputBegin(left), b.OutputAt(left, kFrames), b.OutputBegin(right));
       },
       [](std::vector<double>& v) {
         for (std::size_t i = 0; i < v.size(); i += 2) v[i + 1] = v[i];
       }},
      {"*it++ = v over a channel list", 2,
       [right](CBuffer& b) {
         auto it = b.OutputBegin(right);
         for (int i = 0; i < kFrames; ++i) *it++ = T(7 + i);
       },
       [](std::vector<double>& v) {
         for (int i = 0; i < kFrames; ++i) v[2 * i + 1] = 7 + i;
       }},
  };
}

// Distinct samples every depth holds exactly: unsigned bytes, integers, and
// floats within full scale.
template <int N>
std::vector<double> Initial(int count) {
  std::vector<double> values;
  for (int i = 0; i < count; ++i) {
    values.push_back(N == SL::nInteger8 ? 10 * i + 5 : (N & SL::nFloatKind) ? i / 16.0 : 100 * i);
  }
  return values;
}

template <int N>
void CheckEveryKind(CScratchDir const& dir) {
  for (EKind kind : {nMemory, nReferential, nRing, nWav, nAiff}) {
    // AIFF holds neither floats nor (as a buffer) unsigned bytes.
    if (kind == nAiff && (N == SL::nInteger8 || (N & SL::nFloatKind))) continue;
    int index = 0;
    for (CCase<N> const& c : Cases<N>()) {
      SCOPED_TRACE(std::string(sKindNames[kind]) + ", depth " + std::to_string(N) + ": " + c.name);
      CSubject<N> subject(kind, c.channels, dir / ("s" + std::to_string(index++)));
      ASSERT_NE(nullptr, subject.Buffer());
      std::vector<double> expected = Initial<N>(static_cast<int>(kFrames) * c.channels);
      subject.Fill(expected);
      c.run(*subject.Buffer());
      c.expect(expected);
      EXPECT_EQ(expected, subject.Held());
    }
  }
}

// One output iterator's sample assigned to another's is copied, the
// assigned iterator writes on where it stands, swaps exchange the two
// samples, and every copy a postfix increment hands back writes what it is
// given, on every kind of buffer.
TEST(SampleBufferOutputIterators, AssignCopyAndPostfixWriteAlikeOnEveryBuffer) {
  CScratchDir dir;
  CheckEveryKind<SL::nInteger8>(dir);
  CheckEveryKind<SL::nInteger16>(dir);
  CheckEveryKind<SL::nInteger24>(dir);
  CheckEveryKind<SL::nInteger32>(dir);
  CheckEveryKind<SL::nFloat32>(dir);
  CheckEveryKind<SL::nFloat64>(dir);
}

}  // namespace
