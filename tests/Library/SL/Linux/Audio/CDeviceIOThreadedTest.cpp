#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"
#include "SL/Linux/Audio/CDeviceIO.h"
#include "SL/Linux/Audio/CDevicePropertyListener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

namespace {

using std::chrono::milliseconds;

template <class Condition>
bool Eventually(Condition condition) {
  auto const end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(milliseconds(1));
  }
  return true;
}

// A client of the device IO: counts its calls, and every call that comes
// after its Stop returned.
struct CClient {
  explicit CClient(AudioDeviceId device, bool stopsItself = false)
      : mIO(device, nullptr, &Output, this), mStopsItself(stopsItself) {}

  static bool Output(AudioTimeStamp const*, AudioBufferList* list, AudioTimeStamp const*,
                     void* user) {
    CClient& self = *static_cast<CClient*>(user);
    if (self.mStopped.load()) self.mLate.fetch_add(1);
    EXPECT_NE(nullptr, list);
    if (self.mCalls.fetch_add(1) == 2 && self.mStopsItself) {
      self.mIO.Stop(true);  // from inside its own call
      self.mStopped.store(true);
    }
    return false;  // the next client is called too
  }
  void Stop(bool wait) {
    mIO.Stop(wait);
    mStopped.store(true);
  }

  CoreAudio::CDeviceIO mIO;
  bool mStopsItself;
  std::atomic<int> mCalls{0};
  std::atomic<int> mLate{0};
  std::atomic<bool> mStopped{false};
};

}  // namespace

TEST(CDeviceIOThreaded, ClientsOfOneDeviceShareOnePlatformProcedure) {
  AudioLayer::CVirtualAudio audio;
  AudioLayer::CVirtualDevice& device = audio.Output();
  CClient first(device.GetId());
  CClient second(device.GetId());
  EXPECT_EQ(0, first.mIO.Stop(true));  // never started: nothing to do
  EXPECT_EQ(0u, device.GetIOProcCount());
  ASSERT_EQ(0, first.mIO.Start());
  ASSERT_EQ(0, second.mIO.Start());
  EXPECT_EQ(1u, device.GetIOProcCount());
  ASSERT_TRUE(Eventually([&] { return first.mCalls.load() > 3 && second.mCalls.load() > 3; }));
  second.Stop(true);
  int const firstCalls = first.mCalls.load();
  ASSERT_TRUE(Eventually([&] { return first.mCalls.load() > firstCalls + 3; }));
  EXPECT_EQ(1u, device.GetIOProcCount());
  EXPECT_EQ(0, second.mLate.load());
  first.Stop(true);
  EXPECT_EQ(0u, device.GetIOProcCount());
  EXPECT_TRUE(device.WaitUntilIdle(milliseconds(10000)));
  EXPECT_EQ(0, first.mLate.load());
}

TEST(CDeviceIOThreaded, NoCallAfterStopReturnsUnderRacingStartsAndStops) {
  AudioLayer::CVirtualDeviceOptions fast;
  fast.mBufferFrames = 64;
  AudioLayer::CVirtualDeviceOptions other = fast;
  other.mName = "Other";
  AudioLayer::CVirtualAudio audio({fast, other});
  std::atomic<int> late(0);
  auto race = [&](AudioDeviceId device, unsigned seed) {
    std::mt19937 random(seed);
    for (int i = 0; i < 100; ++i) {
      std::unique_ptr<CClient> client(new CClient(device));
      ASSERT_EQ(0, client->mIO.Start());
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
      client->Stop(i % 2 == 0);
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 500));
      late += client->mLate.load();
    }  // destroyed at once: a late call would touch freed memory
  };
  std::thread a(race, audio.Device(0).GetId(), 1);
  std::thread b(race, audio.Device(0).GetId(), 2);
  std::thread c(race, audio.Device(1).GetId(), 3);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(0, late.load());
  EXPECT_EQ(0u, audio.Device(0).GetIOProcCount());
}

TEST(CDeviceIOThreaded, ClientStoppingItselfFromItsOwnCallDoesNotHang) {
  AudioLayer::CVirtualAudio audio;
  CClient bystander(audio.Output().GetId());
  {
    CClient client(audio.Output().GetId(), true);
    ASSERT_EQ(0, bystander.mIO.Start());
    ASSERT_EQ(0, client.mIO.Start());
    ASSERT_TRUE(Eventually([&] { return client.mStopped.load(); }));
    EXPECT_FALSE(client.mIO.IsStarted());
  }
  int const calls = bystander.mCalls.load();
  EXPECT_TRUE(Eventually([&] { return bystander.mCalls.load() > calls + 3; }));
  bystander.Stop(true);
  EXPECT_TRUE(audio.Output().WaitUntilIdle(milliseconds(10000)));
}

namespace {

struct CSlowListener {
  static AudioStatus Proc(AudioDeviceId, std::uint32_t, bool, AudioPropertyId, void* user) {
    CSlowListener& self = *static_cast<CSlowListener*>(user);
    self.mState.store(1);
    std::this_thread::sleep_for(milliseconds(100));
    self.mState.store(2);
    return 0;
  }
  std::atomic<int> mState{0};
};

}  // namespace

TEST(CDeviceIOThreaded, RemovingAListenerWaitsForItsCallUnderWay) {
  AudioLayer::CVirtualAudio audio;
  AudioDeviceId const id = audio.Output().GetId();
  CSlowListener slow;
  CSlowListener other;
  CoreAudio::CDevicePropertyListener listener;
  CoreAudio::CDevicePropertyListener second;
  ASSERT_EQ(0, listener.Add(id, kAudioPropertyStreamFormat, &CSlowListener::Proc, &slow, false, 0));
  ASSERT_EQ(0, second.Add(id, kAudioPropertyStreamFormat, &CSlowListener::Proc, &other, false, 0));
  EXPECT_EQ(kAudioStatusBadDevice,
            CoreAudio::CDevicePropertyListener().Add(id + 1000, kAudioPropertyStreamFormat,
                                                     &CSlowListener::Proc, &slow, false, 0));
  std::thread change(
      [&] { audio.Output().SetStreamFormat(AudioLayer::MakeFloatFormat(48000.0, 2)); });
  ASSERT_TRUE(Eventually([&] { return slow.mState.load() == 1 || other.mState.load() == 1; }));
  listener.Remove();
  EXPECT_NE(1, slow.mState.load());  // never left in the middle of a call
  change.join();
  EXPECT_EQ(2, other.mState.load());  // both listeners of one property were told
}

TEST(CAudioStreamDesc, DescribesSampleAttributesAsLinearPcm) {
  std::uint32_t const packed = kAudioFormatFlagIsPacked;
  std::uint32_t const big = kAudioFormatFlagIsBigEndian;
  struct {
    int mDepth;
    int mChannels;
    GT::CEndianness::EEndian mOrder;
    std::uint32_t mFlags;
    std::uint32_t mBytesPerFrame;
  } const cases[] = {
      {131104, 2, GT::CEndianness::LittleEndian, kAudioFormatFlagIsFloat | packed, 8},
      {131136, 1, GT::CEndianness::BigEndian, kAudioFormatFlagIsFloat | packed | big, 8},
      {65552, 1, GT::CEndianness::BigEndian, kAudioFormatFlagIsSignedInteger | packed | big, 2},
      {65560, 2, GT::CEndianness::LittleEndian, kAudioFormatFlagIsSignedInteger | packed, 6},
      {65544, 2, GT::CEndianness::LittleEndian, packed, 2},  // 8-bit samples are unsigned
  };
  for (auto const& c : cases) {
    SL::CSampleAttribute const attribute(SL::CBitDepth(c.mDepth), 22050.0, c.mChannels, c.mOrder);
    CoreAudio::CAudioStreamDesc description;
    description.SetAttribute(attribute);
    EXPECT_EQ(kAudioFormatLinearPcm, description.mFormatID);
    EXPECT_EQ(c.mFlags, description.mFormatFlags) << c.mDepth;
    EXPECT_EQ(c.mBytesPerFrame, description.mBytesPerFrame) << c.mDepth;
    EXPECT_EQ(1u, description.mFramesPerPacket);
    SL::CSampleAttribute back;
    ASSERT_TRUE(description.GetAttribute(back));
    EXPECT_EQ(c.mDepth, back.mBitDepth.GetValue());
    EXPECT_EQ(c.mChannels, back.mChannelCount);
    EXPECT_EQ(c.mOrder, back.GetEndian());
    EXPECT_EQ(22050.0, back.mSampleRate);
  }
  SL::CSampleAttribute none;
  EXPECT_FALSE(CoreAudio::CAudioStreamDesc().GetAttribute(none));
}
