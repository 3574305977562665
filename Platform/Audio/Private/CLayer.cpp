#include "Platform/Audio/Private/CLayer.h"

#include "Platform/Audio/Private/CAlsaDriver.h"

#include <algorithm>
#include <system_error>

namespace AudioLayer {

CLayer& CLayer::Get() {
  static CLayer layer;
  return layer;
}

CLayer::CLayer()
    : mKnown(false), mOverridden(false), mNextId(1), mPosted(0), mDone(0), mQuit(false) {}

CLayer::~CLayer() {
  std::vector<std::shared_ptr<CLayerDevice> > devices;
  std::thread notifier;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    devices.swap(mDevices);
    mQuit = true;
    mNoticed.notify_all();
    notifier.swap(mNotifier);
  }
  if (notifier.joinable()) {
    notifier.join();
  }
  devices.clear();
}

AudioDeviceId CLayer::MakeId() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mNextId++;
}

void CLayer::FindSystemDevices(std::unique_lock<std::mutex>& lock) {
  if (mKnown) {
    return;
  }
  std::vector<std::shared_ptr<CLayerDevice> > found;
  for (bool isInput : {false, true}) {
    AudioStreamBasicDescription format;
    std::uint32_t bufferFrames = 0;
    if (CAlsaDriver::Probe(mAlsaConfiguration, isInput, &format, &bufferFrames)) {
      found.push_back(std::make_shared<CLayerDevice>(
          mNextId++, isInput ? "ALSA default input" : "ALSA default output", isInput, format,
          bufferFrames,
          std::unique_ptr<IDeviceDriver>(new CAlsaDriver(mAlsaConfiguration, isInput))));
    }
  }
  Replace(found, lock);
}

void CLayer::Replace(std::vector<std::shared_ptr<CLayerDevice> > const& devices,
                     std::unique_lock<std::mutex>& lock) {
  std::vector<std::shared_ptr<CLayerDevice> > gone;
  for (std::shared_ptr<CLayerDevice> const& device : mDevices) {
    if (std::find(devices.begin(), devices.end(), device) == devices.end()) {
      gone.push_back(device);
    }
  }
  mDevices = devices;
  mKnown = true;
  // Devices leave (waiting for their procedures, joining their threads) with
  // no layer lock held: a procedure under way may be asking the layer.
  lock.unlock();
  for (std::shared_ptr<CLayerDevice> const& device : gone) {
    device->Shut();
  }
  gone.clear();
  lock.lock();
}

std::vector<AudioDeviceId> CLayer::GetDeviceIds() {
  std::unique_lock<std::mutex> lock(mMutex);
  FindSystemDevices(lock);
  std::vector<AudioDeviceId> ids;
  for (std::shared_ptr<CLayerDevice> const& device : mDevices) {
    ids.push_back(device->GetId());
  }
  return ids;
}

AudioDeviceId CLayer::GetDefaultDevice(bool isInput) {
  std::unique_lock<std::mutex> lock(mMutex);
  FindSystemDevices(lock);
  for (std::shared_ptr<CLayerDevice> const& device : mDevices) {
    if (device->IsInput() == isInput) {
      return device->GetId();
    }
  }
  return kAudioDeviceNone;
}

std::shared_ptr<CLayerDevice> CLayer::Find(AudioDeviceId id) {
  std::unique_lock<std::mutex> lock(mMutex);
  FindSystemDevices(lock);
  for (std::shared_ptr<CLayerDevice> const& device : mDevices) {
    if (device->GetId() == id) {
      return device;
    }
  }
  return nullptr;
}

void CLayer::Override(std::vector<std::shared_ptr<CLayerDevice> > const& devices) {
  std::unique_lock<std::mutex> lock(mMutex);
  mOverridden = true;
  Replace(devices, lock);
}

void CLayer::ClearOverride() {
  std::unique_lock<std::mutex> lock(mMutex);
  mOverridden = false;
  Replace(std::vector<std::shared_ptr<CLayerDevice> >(), lock);
  mKnown = false;
}

void CLayer::SetAlsaConfiguration(std::string const& text) {
  std::unique_lock<std::mutex> lock(mMutex);
  mAlsaConfiguration = text;
  if (!mOverridden) {
    Replace(std::vector<std::shared_ptr<CLayerDevice> >(), lock);
    mKnown = false;
  }
}

std::string CLayer::GetAlsaConfiguration() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mAlsaConfiguration;
}

AudioStatus CLayer::AddListener(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                AudioPropertyId property, AudioDevicePropertyListenerProc proc,
                                void* client) {
  if (proc == nullptr) {
    return kAudioStatusBadParameter;
  }
  if (!Find(device)) {
    return kAudioStatusBadDevice;
  }
  std::lock_guard<std::mutex> lock(mMutex);
  for (CListener& l : mListeners) {
    if (l.mDevice == device && l.mChannel == channel && l.mIsInput == isInput &&
        l.mProperty == property && l.mProc == proc) {
      l.mClient = client;
      return kAudioStatusOk;
    }
  }
  mListeners.push_back(CListener{device, channel, isInput, property, proc, client});
  return kAudioStatusOk;
}

AudioStatus CLayer::RemoveListener(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                   AudioPropertyId property, AudioDevicePropertyListenerProc proc) {
  std::lock_guard<std::mutex> lock(mMutex);
  auto const it = std::find_if(mListeners.begin(), mListeners.end(), [&](CListener const& l) {
    return l.mDevice == device && l.mChannel == channel && l.mIsInput == isInput &&
           l.mProperty == property && l.mProc == proc;
  });
  if (it == mListeners.end()) {
    return kAudioStatusIllegalOperation;
  }
  mListeners.erase(it);
  return kAudioStatusOk;
}

void CLayer::Announce(AudioDeviceId device, bool isInput, AudioPropertyId property) {
  std::unique_lock<std::mutex> lock(mMutex);
  if (!mNotifier.joinable()) {
    try {
      mNotifier = std::thread(&CLayer::Notify, this);
    } catch (std::system_error const&) {
      return;  // nobody can be told
    }
  }
  unsigned long const number = ++mPosted;
  mNotices.push_back(CNotice{device, isInput, property, number});
  mNoticed.notify_all();
  mNoticed.wait(lock, [this, number] { return mDone >= number || mQuit; });
}

void CLayer::Notify() {
  std::unique_lock<std::mutex> lock(mMutex);
  for (;;) {
    mNoticed.wait(lock, [this] { return mQuit || !mNotices.empty(); });
    if (mQuit) {
      return;
    }
    CNotice const notice = mNotices.front();
    mNotices.pop_front();
    std::vector<CListener> called;
    for (CListener const& l : mListeners) {
      if (l.mDevice == notice.mDevice && l.mIsInput == notice.mIsInput &&
          l.mProperty == notice.mProperty) {
        called.push_back(l);
      }
    }
    lock.unlock();
    for (CListener const& l : called) {
      try {
        l.mProc(l.mDevice, l.mChannel, l.mIsInput, l.mProperty, l.mClient);
      } catch (...) {
        // A listener's failure is its own.
      }
    }
    lock.lock();
    mDone = notice.mNumber;
    mNoticed.notify_all();
  }
}

}  // namespace AudioLayer
