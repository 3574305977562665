#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CConverter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Hands out stereo floats (left 0.5, right -0.5), then nothing for now
// once, then the end.
struct CProducer {
  std::uint32_t mFrames = 100;
  bool mPaused = false;
  static bool Produce(std::uint32_t& frames, void* buffer, void* user) {
    CProducer& self = *static_cast<CProducer*>(user);
    if (self.mFrames == 0) {
      frames = 0;
      bool const more = !self.mPaused;
      self.mPaused = true;
      return more;
    }
    frames = std::min(frames, self.mFrames);
    self.mFrames -= frames;
    for (std::uint32_t i = 0; i < frames * 2; ++i) {
      static_cast<float*>(buffer)[i] = i % 2 == 0 ? 0.5f : -0.5f;
    }
    return true;
  }
};

}  // namespace

TEST(CConverter, PropertiesAndSingleBufferFillWithTheLayerStatuses) {
  AudioStreamBasicDescription const floats = AudioLayer::MakeFloatFormat(44100.0, 2);
  AudioStreamBasicDescription const shorts = AudioLayer::MakeInteger16Format(44100.0, 1);
  AudioStreamBasicDescription strange = shorts;
  strange.mFormatID = AudioFourCharCode("aac ");
  AudioStatus const what = kAudioStatusUnspecified;
  CProducer producer;
  CoreAudio::CConverter converter(&CProducer::Produce, &producer);

  // Without a converter every call says so, and nothing else happens.
  std::uint32_t size = sizeof(AudioStreamBasicDescription);
  bool writable = false;
  AudioStreamBasicDescription read;
  unsigned long bytes = 64;
  short out[32];
  EXPECT_EQ(what, converter.GetPropertyInfo(kAudioConverterPropertySourceFormat, size, writable));
  EXPECT_FALSE(converter.HasProperty(kAudioConverterPropertySourceFormat));
  EXPECT_EQ(what, converter.GetProperty(kAudioConverterPropertySourceFormat, size, &read));
  EXPECT_EQ(what, converter.SetProperty(kAudioConverterPropertyDestinationFormat, size, &shorts));
  EXPECT_EQ(what, converter.FillBuffer(bytes, out));

  ASSERT_EQ(0, converter.Create(floats, shorts));
  ASSERT_TRUE(converter.AllocateSourceBuffer(16));
  struct {
    AudioPropertyId mProperty;
    std::uint32_t mSize;
    AudioStreamBasicDescription const* mSet;  // null: read only
    AudioStatus mStatus;
    bool mWritable;
  } const cases[] = {
      {kAudioConverterPropertySourceFormat, 40, nullptr, 0, false},
      {kAudioConverterPropertyDestinationFormat, 40, nullptr, 0, true},
      {kAudioConverterPropertySourceFormat, 40, &shorts, kAudioStatusIllegalOperation, false},
      {kAudioConverterPropertyDestinationFormat, 40, &strange, kAudioStatusUnsupportedFormat, true},
      {kAudioConverterPropertyDestinationFormat, 39, &shorts, kAudioStatusBadPropertySize, true},
      {kAudioConverterPropertyDestinationFormat, 39, nullptr, kAudioStatusBadPropertySize, true},
      {AudioFourCharCode("none"), 40, nullptr, kAudioStatusUnknownProperty, false},
      {AudioFourCharCode("none"), 40, &shorts, kAudioStatusUnknownProperty, false},
  };
  for (auto const& c : cases) {
    bool const known = c.mStatus != kAudioStatusUnknownProperty;
    writable = false;
    EXPECT_EQ(known, converter.HasProperty(c.mProperty));
    EXPECT_EQ(known ? 0 : c.mStatus, converter.GetPropertyInfo(c.mProperty, size, writable));
    EXPECT_EQ(c.mWritable && known, writable);
    size = c.mSize;
    AudioStatus const status = c.mSet != nullptr ? converter.SetProperty(c.mProperty, size, c.mSet)
                                                 : converter.GetProperty(c.mProperty, size, &read);
    EXPECT_EQ(c.mStatus, status) << c.mProperty << " " << c.mSize;
    if (c.mSet == nullptr && status == 0) {
      AudioStreamBasicDescription const& expected =
          c.mWritable ? converter.GetDestinationFormat() : converter.GetSourceFormat();
      EXPECT_EQ(0, std::memcmp(&expected, &read, sizeof read));
    }
  }
  // The format it goes on in, also in the copy kept.
  AudioStreamBasicDescription const stereo = AudioLayer::MakeInteger16Format(44100.0, 2);
  EXPECT_EQ(0, converter.SetProperty(kAudioConverterPropertyDestinationFormat, 40, &stereo));
  EXPECT_EQ(2u, converter.GetDestinationFormat().mChannelsPerFrame);

  // One buffer: 16 frames a time from the producer, until the pause and the end.
  std::vector<short> played;
  for (int i = 0; i < 20; ++i) {
    bytes = sizeof out;
    EXPECT_EQ(0, converter.FillBuffer(bytes, out));
    played.insert(played.end(), out, out + bytes / sizeof(short));
  }
  ASSERT_EQ(200u, played.size());
  EXPECT_EQ(16384, played.front());
  EXPECT_EQ(-16384, played.back());
}
