#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CConverter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(CConverter, PropertiesAndSingleBufferFillWithTheLayerStatuses) {
  AudioStreamBasicDescription const floats = AudioLayer::MakeFloatFormat(44100.0, 2);
  AudioStreamBasicDescription const shorts = AudioLayer::MakeInteger16Format(44100.0, 1);
  AudioStreamBasicDescription strange = shorts;
  strange.mFormatID = AudioFourCharCode("aac ");
  // 100 stereo frames (left 0.5, right -0.5), nothing for now once, the end.
  int left = 100;
  CoreAudio::CConverter converter(
      [](std::uint32_t& frames, void* buffer, void* user) {
        int& n = *static_cast<int*>(user);
        frames = std::min<std::uint32_t>(frames, static_cast<std::uint32_t>(std::max(n, 0)));
        for (std::uint32_t i = 0; i < frames * 2; ++i)
          static_cast<float*>(buffer)[i] = i % 2 == 0 ? 0.5f : -0.5f;
        n = n > 0 ? n - static_cast<int>(frames) : n - 1;
        return n >= -1;
      },
      &left);
  AudioPropertyId const source = kAudioConverterPropertySourceFormat;
  AudioPropertyId const destination = kAudioConverterPropertyDestinationFormat;
  AudioPropertyId const none = AudioFourCharCode("none");
  std::uint32_t size = 40;
  bool writable = false;
  AudioStreamBasicDescription read;
  unsigned long bytes = 64;
  short out[32];
  // Without a converter every call says so.
  EXPECT_EQ(kAudioStatusUnspecified, converter.GetPropertyInfo(destination, size, writable));
  EXPECT_FALSE(converter.HasProperty(destination));
  EXPECT_EQ(kAudioStatusUnspecified, converter.GetProperty(destination, size, &read));
  EXPECT_EQ(kAudioStatusUnspecified, converter.SetProperty(destination, size, &shorts));
  EXPECT_EQ(kAudioStatusUnspecified, converter.FillBuffer(bytes, out));

  ASSERT_EQ(0, converter.Create(floats, shorts));
  ASSERT_TRUE(converter.AllocateSourceBuffer(16));
  struct {
    AudioPropertyId mProperty;
    std::uint32_t mSize;
    AudioStreamBasicDescription const* mSet;  // null: read
    AudioStatus mStatus;
  } const cases[] = {
      {source, 40, nullptr, 0},
      {destination, 40, nullptr, 0},
      {source, 40, &shorts, kAudioStatusIllegalOperation},
      {destination, 40, &strange, kAudioStatusUnsupportedFormat},
      {destination, 39, &shorts, kAudioStatusBadPropertySize},
      {destination, 39, nullptr, kAudioStatusBadPropertySize},
      {none, 40, nullptr, kAudioStatusUnknownProperty},
      {none, 40, &shorts, kAudioStatusUnknownProperty},
  };
  for (auto const& c : cases) {
    bool const known = c.mProperty != none;
    writable = false;
    EXPECT_EQ(known, converter.HasProperty(c.mProperty));
    EXPECT_EQ(known ? 0 : c.mStatus, converter.GetPropertyInfo(c.mProperty, size, writable));
    EXPECT_EQ(c.mProperty == destination, writable);
    size = c.mSize;
    AudioStatus const status = c.mSet != nullptr ? converter.SetProperty(c.mProperty, size, c.mSet)
                                                 : converter.GetProperty(c.mProperty, size, &read);
    EXPECT_EQ(c.mStatus, status) << c.mProperty << " " << c.mSize;
    if (c.mSet == nullptr && status == 0) {
      EXPECT_EQ(0, std::memcmp(c.mProperty == source ? &converter.GetSourceFormat()
                                                     : &converter.GetDestinationFormat(),
                               &read, sizeof read));
    }
  }
  // The format it goes on in, also in the copy kept; then 16 frames a time
  // from the producer, through the pause to the end.
  AudioStreamBasicDescription const stereo = AudioLayer::MakeInteger16Format(44100.0, 2);
  EXPECT_EQ(0, converter.SetProperty(destination, 40, &stereo));
  EXPECT_EQ(2u, converter.GetDestinationFormat().mChannelsPerFrame);
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
