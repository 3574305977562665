#include "Platform/Audio/AudioConverter.h"
#include "Platform/Audio/VirtualDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

typedef std::vector<unsigned char> CBytes;

AudioStreamBasicDescription Pcm(double rate, std::uint32_t channels, std::uint32_t bits,
                                std::uint32_t flags) {
  AudioStreamBasicDescription f = AudioLayer::MakeFloatFormat(rate, channels);
  f.mFormatFlags = flags | kAudioFormatFlagIsPacked;
  f.mBitsPerChannel = bits;
  f.mBytesPerFrame = bits / 8 * channels;
  f.mBytesPerPacket = f.mBytesPerFrame;
  return f;
}

template <class T>
CBytes Bytes(std::vector<T> const& values) {
  CBytes bytes(values.size() * sizeof(T));
  std::memcpy(bytes.data(), values.data(), bytes.size());
  return bytes;
}

template <class T>
std::vector<T> Values(CBytes const& bytes) {
  std::vector<T> values(bytes.size() / sizeof(T));
  std::memcpy(values.data(), bytes.data(), values.size() * sizeof(T));
  return values;
}

// Feeds `input` to a converter in pieces of the sizes `piece` picks (0 means
// "nothing now" once) and asks for output in pieces of the sizes `ask`
// picks, until the stream has ended and drained.
struct CFeed {
  CBytes const* mInput;
  std::uint32_t mFrameBytes;
  std::size_t mOffset;
  std::function<std::uint32_t()> mPiece;
  CBytes mHanded;
};

AudioStatus Produce(AudioConverterRef, std::uint32_t* packets, AudioBufferList* data, void**,
                    void* user) {
  CFeed& feed = *static_cast<CFeed*>(user);
  std::size_t const left = (feed.mInput->size() - feed.mOffset) / feed.mFrameBytes;
  if (left == 0) {
    *packets = 0;
    return kAudioStatusOk;  // the end
  }
  std::uint32_t const piece = feed.mPiece();
  if (piece == 0) {
    *packets = 0;
    return -1;  // nothing now
  }
  std::uint32_t const n = static_cast<std::uint32_t>(std::min<std::size_t>(
      {static_cast<std::size_t>(*packets), static_cast<std::size_t>(piece), left}));
  feed.mHanded.assign(
      feed.mInput->begin() + static_cast<long>(feed.mOffset),
      feed.mInput->begin() + static_cast<long>(feed.mOffset + n * feed.mFrameBytes));
  data->mBuffers[0].mData = feed.mHanded.data();
  data->mBuffers[0].mDataByteSize = n * feed.mFrameBytes;
  feed.mOffset += n * feed.mFrameBytes;
  *packets = n;
  return kAudioStatusOk;
}

CBytes Convert(AudioStreamBasicDescription const& from, AudioStreamBasicDescription const& to,
               CBytes const& input, std::function<std::uint32_t()> piece,
               std::function<std::uint32_t()> ask) {
  AudioConverterRef converter = nullptr;
  EXPECT_EQ(kAudioStatusOk, AudioConverterNew(&from, &to, &converter));
  if (converter == nullptr) {
    return CBytes();
  }
  CFeed feed{&input, from.mBytesPerFrame, 0, piece, CBytes()};
  CBytes output;
  int idle = 0;
  while (idle < 3) {
    std::uint32_t frames = ask();
    CBytes block(static_cast<std::size_t>(frames) * to.mBytesPerFrame);
    AudioBufferList list = {
        1, {{to.mChannelsPerFrame, static_cast<std::uint32_t>(block.size()), block.data()}}};
    AudioStatus const status =
        AudioConverterFillComplexBuffer(converter, &Produce, &feed, &frames, &list, nullptr);
    EXPECT_TRUE(status == kAudioStatusOk || status == -1) << status;
    output.insert(output.end(), block.begin(), block.begin() + frames * to.mBytesPerFrame);
    // Done once the input is used up and fills give nothing more.
    idle = (frames == 0 && feed.mOffset == input.size()) ? idle + 1 : 0;
  }
  EXPECT_EQ(kAudioStatusOk, AudioConverterDispose(converter));
  return output;
}

std::function<std::uint32_t()> Fixed(std::uint32_t n) {
  return [n] { return n; };
}

std::function<std::uint32_t()> Random(unsigned seed, std::uint32_t most, bool pauses) {
  auto random = std::make_shared<std::mt19937>(seed);
  return [random, most, pauses] {
    std::uint32_t const n = (*random)() % (most + 1);
    return pauses ? n : std::max<std::uint32_t>(n, 1);
  };
}

CBytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 random(seed);
  CBytes bytes(n);
  for (unsigned char& b : bytes) {
    b = static_cast<unsigned char>(random());
  }
  return bytes;
}

}  // namespace

TEST(AudioConverter, SameFormatPassesEveryBitThroughHoweverCut) {
  std::uint32_t const big = kAudioFormatFlagIsBigEndian;
  std::uint32_t const sint = kAudioFormatFlagIsSignedInteger;
  struct {
    AudioStreamBasicDescription mFormat;
  } const cases[] = {{Pcm(44100, 2, 16, sint)}, {Pcm(48000, 1, 16, sint | big)},
                     {Pcm(44100, 2, 24, sint)}, {Pcm(22050, 3, 32, sint)},
                     {Pcm(44100, 1, 8, 0)},     {Pcm(96000, 2, 64, kAudioFormatFlagIsFloat)}};
  for (auto const& c : cases) {
    CBytes const input = RandomBytes(c.mFormat.mBytesPerFrame * 3001, 7);
    EXPECT_EQ(input, Convert(c.mFormat, c.mFormat, input, Fixed(4096), Fixed(512)))
        << c.mFormat.mBitsPerChannel;
    EXPECT_EQ(input,
              Convert(c.mFormat, c.mFormat, input, Random(1, 300, true), Random(2, 700, false)))
        << c.mFormat.mBitsPerChannel;
  }
  // Floats too, NaN payloads and all.
  AudioStreamBasicDescription const f = AudioLayer::MakeFloatFormat(44100, 2);
  CBytes const floats = RandomBytes(8 * 2048, 9);
  EXPECT_EQ(floats, Convert(f, f, floats, Random(3, 100, true), Fixed(333)));
}

TEST(AudioConverter, IntegersBecomeFloatsScaledByTheirFullRange) {
  AudioStreamBasicDescription const from = AudioLayer::MakeInteger16Format(44100, 1);
  AudioStreamBasicDescription const to = AudioLayer::MakeFloatFormat(44100, 1);
  std::vector<std::int16_t> const in = {-32768, -1, 0, 1, 16384, 32767};
  std::vector<float> const out = Values<float>(Convert(from, to, Bytes(in), Fixed(2), Fixed(4)));
  ASSERT_EQ(in.size(), out.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    EXPECT_EQ(static_cast<float>(in[i]) / 32768.0f, out[i]) << in[i];
  }
  // Unsigned 8-bit samples centre on 128.
  std::vector<unsigned char> const bytes = {0, 128, 255};
  std::vector<float> const eight = Values<float>(
      Convert(Pcm(44100, 1, 8, 0), to, CBytes(bytes.begin(), bytes.end()), Fixed(8), Fixed(8)));
  EXPECT_EQ((std::vector<float>{-1.0f, 0.0f, 127.0f / 128.0f}), eight);
}

TEST(AudioConverter, FloatsBecomeIntegersRoundedAndClipped) {
  float const nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> const in = {0.5f, -0.5f, 1.0f, -1.0f, 2.0f, -7.0f, nan, 3.0f / 65536.0f};
  std::vector<std::int16_t> const expected = {16384, -16384, 32767, -32768, 32767, -32768, 0, 2};
  std::vector<std::int16_t> const out = Values<std::int16_t>(
      Convert(AudioLayer::MakeFloatFormat(8000, 1), AudioLayer::MakeInteger16Format(8000, 1),
              Bytes(in), Fixed(3), Fixed(5)));
  EXPECT_EQ(expected, out);
}

TEST(AudioConverter, ChannelsAreDuplicatedFromMonoAndDroppedFromTheEnd) {
  struct {
    std::uint32_t mFrom;
    std::uint32_t mTo;
    std::vector<float> mIn;
    std::vector<float> mOut;
  } const cases[] = {
      {1, 2, {0.25f, -0.5f}, {0.25f, 0.25f, -0.5f, -0.5f}},
      {2, 1, {0.25f, 0.75f, -0.5f, 0.125f}, {0.25f, -0.5f}},
      {3, 2, {1, 2, 3, 4, 5, 6}, {1, 2, 4, 5}},
      {2, 3, {1, 2, 3, 4}, {1, 2, 0, 3, 4, 0}},
  };
  for (auto const& c : cases) {
    std::vector<float> const out = Values<float>(
        Convert(AudioLayer::MakeFloatFormat(44100, c.mFrom),
                AudioLayer::MakeFloatFormat(44100, c.mTo), Bytes(c.mIn), Fixed(1), Fixed(7)));
    EXPECT_EQ(c.mOut, out) << c.mFrom << " to " << c.mTo;
    // Through a change of sample format the same mapping holds.
    std::vector<std::int16_t> in16;
    for (float v : c.mIn) in16.push_back(static_cast<std::int16_t>(v * 4096));
    std::vector<float> const out16 = Values<float>(
        Convert(AudioLayer::MakeInteger16Format(44100, c.mFrom),
                AudioLayer::MakeFloatFormat(44100, c.mTo), Bytes(in16), Fixed(2), Fixed(3)));
    ASSERT_EQ(c.mOut.size(), out16.size());
    for (std::size_t i = 0; i < out16.size(); ++i) {
      EXPECT_EQ(c.mOut[i] / 8.0f, out16[i]);
    }
  }
}

TEST(AudioConverter, RateChangeGivesTheSameOutputHoweverTheInputIsCut) {
  std::size_t const frames = 20000;
  std::vector<float> signal;
  std::mt19937 random(5);
  for (std::size_t i = 0; i < frames; ++i) {
    signal.push_back(0.5f * std::sin(0.05f * static_cast<float>(i)));
    signal.push_back(static_cast<float>(random() % 2001) / 4000.0f - 0.25f);
  }
  AudioStreamBasicDescription const from = AudioLayer::MakeFloatFormat(44100, 2);
  AudioStreamBasicDescription const to = AudioLayer::MakeFloatFormat(48000, 2);
  CBytes const whole = Convert(from, to, Bytes(signal), Fixed(1 << 20), Fixed(4096));
  // About 48/44.1 as many frames: the resampler's tail is drained at the end.
  double const expected = frames * 48000.0 / 44100.0;
  EXPECT_NEAR(expected, static_cast<double>(whole.size() / to.mBytesPerFrame), 2.0);
  for (unsigned seed : {11u, 12u, 13u}) {
    // Pieces of 0 are "nothing now" from the producer: never the end.
    CBytes const cut =
        Convert(from, to, Bytes(signal), Random(seed, 700, true), Random(seed + 100, 900, false));
    EXPECT_EQ(whole, cut) << seed;
  }
  // The other way, and into integers, as consistently.
  CBytes const down =
      Convert(to, AudioLayer::MakeInteger16Format(44100, 1), whole, Fixed(512), Fixed(4096));
  EXPECT_EQ(down, Convert(to, AudioLayer::MakeInteger16Format(44100, 1), whole,
                          Random(21, 333, true), Random(22, 1000, false)));
  EXPECT_NEAR(static_cast<double>(frames), static_cast<double>(down.size() / 2), 3.0);
}

TEST(AudioConverter, FormatsItCannotConvertAreRefused) {
  AudioStreamBasicDescription const good = AudioLayer::MakeFloatFormat(44100, 2);
  auto with = [&](std::function<void(AudioStreamBasicDescription&)> change) {
    AudioStreamBasicDescription f = good;
    change(f);
    return f;
  };
  AudioStreamBasicDescription const bad[] = {
      with([](AudioStreamBasicDescription& f) { f.mFormatID = AudioFourCharCode("aac "); }),
      with([](AudioStreamBasicDescription& f) { f.mFramesPerPacket = 2; }),
      with([](AudioStreamBasicDescription& f) {
        f.mFormatFlags |= kAudioFormatFlagIsNonInterleaved;
      }),
      with([](AudioStreamBasicDescription& f) { f.mChannelsPerFrame = 0; }),
      with([](AudioStreamBasicDescription& f) { f.mBitsPerChannel = 12; }),
      with([](AudioStreamBasicDescription& f) { f.mBytesPerFrame = 6; }),
      with([](AudioStreamBasicDescription& f) { f.mSampleRate = 0.0; }),
      with([](AudioStreamBasicDescription& f) { f.mSampleRate = 44100.0 * 300; }),
      with([](AudioStreamBasicDescription& f) {
        f.mFormatFlags &= ~kAudioFormatFlagIsFloat;
        f.mBitsPerChannel = 64;
        f.mBytesPerFrame = f.mBytesPerPacket = 16;
      }),
  };
  for (AudioStreamBasicDescription const& f : bad) {
    AudioConverterRef converter = reinterpret_cast<AudioConverterRef>(&converter);
    EXPECT_EQ(kAudioStatusUnsupportedFormat, AudioConverterNew(&good, &f, &converter));
    EXPECT_EQ(nullptr, converter);
    EXPECT_EQ(kAudioStatusUnsupportedFormat, AudioConverterNew(&f, &good, &converter));
  }
}
