#include "Platform/Audio/VirtualDevice.h"
#include "SL/Linux/Audio/CCaAudioDeviceFacade.h"

#include "Support/VectorSampleIterators.h"

#include <gtest/gtest.h>

#include <pthread.h>

namespace {

void* Nothing(void*) { return nullptr; }

// Makes every thread started with default attributes fail for one scope:
// their stacks cannot be mapped.
class CThreadsCannotStart {
public:
  CThreadsCannotStart() {
    pthread_getattr_default_np(&mSaved);
    pthread_attr_t huge;
    pthread_attr_init(&huge);
    pthread_attr_setstacksize(&huge, static_cast<std::size_t>(1) << 46);
    pthread_setattr_default_np(&huge);
    pthread_attr_destroy(&huge);
  }
  ~CThreadsCannotStart() {
    pthread_setattr_default_np(&mSaved);
    pthread_attr_destroy(&mSaved);
  }
  static bool Holds() {
    pthread_t thread;
    if (pthread_create(&thread, nullptr, &Nothing, nullptr) != 0) {
      return true;
    }
    pthread_join(thread, nullptr);
    return false;
  }

private:
  pthread_attr_t mSaved;
};

}  // namespace

// Not a threaded suite: its point is that no thread starts.
TEST(CCaAudioOutDeviceRunner, DeviceWhoseRunnerCannotStartRefusesToPlay) {
  AudioLayer::CVirtualAudio audio;
  SL::CCaAudioDeviceFacade facade;
  std::string const name = facade.GetDefaultOutDeviceName();
  std::unique_ptr<SL::IAudioOutDevice> device;
  {
    CThreadsCannotStart const limit;
    if (!CThreadsCannotStart::Holds()) {
      GTEST_SKIP() << "this runtime starts threads whatever their default stack size";
    }
    device = facade.CreateOutDevice(name);
  }
  // Nothing would ever retire the playback: it must not start.
  EXPECT_FALSE(device->Play(boost::shared_ptr<SL::IInputSampleIterator>(
      new TestSupport::CVectorInputIterator<131104>({0.5f, 0.5f}, 2))));
  EXPECT_FALSE(device->IsPlaying());
  EXPECT_EQ(0u, audio.Output().GetStartCount());
}
