#include "Platform/Audio/AudioHardware.h"
#include "Platform/Audio/VirtualDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(AudioHardware, PropertiesOfDevicesAndTheirFailures) {
  AudioLayer::CVirtualDeviceOptions output;
  output.mBufferFrames = 300;
  AudioLayer::CVirtualDeviceOptions input;
  input.mName = "Mic";
  input.mIsInput = true;
  input.mFormat = AudioLayer::MakeFloatFormat(48000.0, 1);
  AudioLayer::CVirtualAudio audio({output, input});
  AudioDeviceId const out = audio.Output().GetId();
  AudioDeviceId const in = audio.Input().GetId();

  AudioDeviceId ids[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof ids;
  ASSERT_EQ(kAudioStatusOk, AudioHardwareGetProperty(kAudioPropertyDeviceList, &size, ids));
  EXPECT_EQ(2 * sizeof(AudioDeviceId), size);
  EXPECT_EQ(out, ids[0]);
  EXPECT_EQ(in, ids[1]);
  AudioDeviceId id = 0;
  size = sizeof id;
  ASSERT_EQ(kAudioStatusOk, AudioHardwareGetProperty(kAudioPropertyDefaultInputDevice, &size, &id));
  EXPECT_EQ(in, id);

  AudioStreamBasicDescription format;
  size = sizeof format;
  ASSERT_EQ(kAudioStatusOk,
            AudioDeviceGetProperty(in, 0, true, kAudioPropertyStreamFormat, &size, &format));
  EXPECT_EQ(48000.0, format.mSampleRate);
  EXPECT_EQ(1u, format.mChannelsPerFrame);
  // The direction a device lacks: a format without channels.
  ASSERT_EQ(kAudioStatusOk,
            AudioDeviceGetProperty(in, 0, false, kAudioPropertyStreamFormat, &size, &format));
  EXPECT_EQ(0u, format.mChannelsPerFrame);
  std::uint32_t frames = 0;
  size = sizeof frames;
  ASSERT_EQ(kAudioStatusOk,
            AudioDeviceGetProperty(out, 0, false, kAudioPropertyBufferFrameSize, &size, &frames));
  EXPECT_EQ(300u, frames);
  char name[32];
  ASSERT_EQ(kAudioStatusOk,
            AudioDeviceGetPropertyInfo(out, 0, false, kAudioPropertyDeviceName, &size, nullptr));
  EXPECT_EQ(std::strlen("Virtual Output") + 1, size);
  size = sizeof name;
  ASSERT_EQ(kAudioStatusOk,
            AudioDeviceGetProperty(out, 0, false, kAudioPropertyDeviceName, &size, name));
  EXPECT_EQ(std::string("Virtual Output"), name);

  struct {
    AudioDeviceId mDevice;
    AudioPropertyId mProperty;
    std::uint32_t mRoom;
    AudioStatus mStatus;
  } const failures[] = {
      {out + 100, kAudioPropertyStreamFormat, 40, kAudioStatusBadDevice},
      {kAudioDeviceNone, kAudioPropertyDeviceName, 32, kAudioStatusBadDevice},
      {out, AudioFourCharCode("xyz?"), 40, kAudioStatusUnknownProperty},
      {out, kAudioPropertyStreamFormat, 39, kAudioStatusBadPropertySize},
      {out, kAudioPropertyDeviceName, 4, kAudioStatusBadPropertySize},
  };
  for (auto const& f : failures) {
    unsigned char room[64];
    size = f.mRoom;
    EXPECT_EQ(f.mStatus, AudioDeviceGetProperty(f.mDevice, 0, false, f.mProperty, &size, room))
        << f.mProperty;
  }
  EXPECT_EQ(kAudioStatusIllegalOperation,
            AudioDeviceSetProperty(out, nullptr, 0, false, kAudioPropertyStreamFormat,
                                   sizeof format, &format));
  EXPECT_EQ(kAudioStatusIllegalOperation, AudioDeviceStart(out, nullptr));
  EXPECT_EQ(kAudioStatusIllegalOperation, AudioDeviceStop(out, nullptr));

  audio.RemoveAllDevices();
  size = sizeof ids;
  ASSERT_EQ(kAudioStatusOk, AudioHardwareGetProperty(kAudioPropertyDeviceList, &size, ids));
  EXPECT_EQ(0u, size);
  size = sizeof id;
  ASSERT_EQ(kAudioStatusOk,
            AudioHardwareGetProperty(kAudioPropertyDefaultOutputDevice, &size, &id));
  EXPECT_EQ(kAudioDeviceNone, id);
  size = sizeof format;
  EXPECT_EQ(kAudioStatusBadDevice,
            AudioDeviceGetProperty(out, 0, false, kAudioPropertyStreamFormat, &size, &format));
}
