#pragma once

#include "Platform/Audio/AudioHardware.h"
#include "Platform/Audio/Private/CLayerDevice.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace AudioLayer {

// The layer's state: its devices and their defaults, the property listeners
// and the thread that notifies them. Devices are the system's (found on
// first use) unless a set of devices has been put in their place.
class CLayer {
public:
  static CLayer& Get();

  ~CLayer();
  CLayer(CLayer const&) = delete;
  CLayer& operator=(CLayer const&) = delete;

  std::vector<AudioDeviceId> GetDeviceIds();
  AudioDeviceId GetDefaultDevice(bool isInput);
  std::shared_ptr<CLayerDevice> Find(AudioDeviceId id);
  AudioDeviceId MakeId();

  // Puts these devices in place of all others; the first of each direction
  // is its default. Those taken away stop.
  void Override(std::vector<std::shared_ptr<CLayerDevice> > const& devices);
  // Back to the system's devices, found afresh.
  void ClearOverride();
  // ALSA's configuration for the system devices; empty for the system's own.
  void SetAlsaConfiguration(std::string const& text);
  std::string GetAlsaConfiguration();

  AudioStatus AddListener(AudioDeviceId device, std::uint32_t channel, bool isInput,
                          AudioPropertyId property, AudioDevicePropertyListenerProc proc,
                          void* client);
  AudioStatus RemoveListener(AudioDeviceId device, std::uint32_t channel, bool isInput,
                             AudioPropertyId property, AudioDevicePropertyListenerProc proc);
  // Has the listeners of this property called on the notification thread,
  // and waits until they have returned. Not from a listener.
  void Announce(AudioDeviceId device, bool isInput, AudioPropertyId property);

private:
  struct CListener {
    AudioDeviceId mDevice;
    std::uint32_t mChannel;
    bool mIsInput;
    AudioPropertyId mProperty;
    AudioDevicePropertyListenerProc mProc;
    void* mClient;
  };
  struct CNotice {
    AudioDeviceId mDevice;
    bool mIsInput;
    AudioPropertyId mProperty;
    unsigned long mNumber;
  };

  CLayer();
  // With mMutex held: the system's devices, when none are known yet.
  void FindSystemDevices(std::unique_lock<std::mutex>& lock);
  void Replace(std::vector<std::shared_ptr<CLayerDevice> > const& devices,
               std::unique_lock<std::mutex>& lock);
  void Notify();

  std::mutex mMutex;
  std::vector<std::shared_ptr<CLayerDevice> > mDevices;
  bool mKnown;       // mDevices is up to date
  bool mOverridden;  // mDevices was put in place of the system's
  std::string mAlsaConfiguration;
  AudioDeviceId mNextId;
  std::vector<CListener> mListeners;

  std::condition_variable mNoticed;
  std::deque<CNotice> mNotices;
  unsigned long mPosted;
  unsigned long mDone;
  bool mQuit;
  std::thread mNotifier;
};

}  // namespace AudioLayer
