#include "Platform/Audio/AudioHardware.h"

#include "Platform/Audio/AlsaConfiguration.h"
#include "Platform/Audio/Private/CLayer.h"

#include <algorithm>
#include <cstring>
#include <vector>

using AudioLayer::CLayer;
using AudioLayer::CLayerDevice;

namespace {

// Copies a property value out; the room must hold all of it.
AudioStatus Give(void const* value, std::uint32_t bytes, std::uint32_t* size, void* data) {
  if (size == nullptr || data == nullptr) {
    return kAudioStatusBadParameter;
  }
  if (*size < bytes) {
    return kAudioStatusBadPropertySize;
  }
  std::memcpy(data, value, bytes);
  *size = bytes;
  return kAudioStatusOk;
}

AudioStatus DevicePropertySize(CLayerDevice const& device, bool isInput, AudioPropertyId property,
                               std::uint32_t* size) {
  (void)isInput;
  switch (property) {
    case kAudioPropertyStreamFormat:
      *size = sizeof(AudioStreamBasicDescription);
      return kAudioStatusOk;
    case kAudioPropertyDeviceName:
      *size = static_cast<std::uint32_t>(device.GetName().size() + 1);
      return kAudioStatusOk;
    case kAudioPropertyBufferFrameSize:
    case kAudioPropertyDeviceIsAlive:
      *size = sizeof(std::uint32_t);
      return kAudioStatusOk;
    default:
      return kAudioStatusUnknownProperty;
  }
}

}  // namespace

AudioStatus AudioHardwareGetPropertyInfo(AudioPropertyId property, std::uint32_t* size,
                                         bool* writable) {
  if (size == nullptr) {
    return kAudioStatusBadParameter;
  }
  if (writable != nullptr) {
    *writable = false;
  }
  switch (property) {
    case kAudioPropertyDeviceList:
      *size =
          static_cast<std::uint32_t>(CLayer::Get().GetDeviceIds().size() * sizeof(AudioDeviceId));
      return kAudioStatusOk;
    case kAudioPropertyDefaultInputDevice:
    case kAudioPropertyDefaultOutputDevice:
      *size = sizeof(AudioDeviceId);
      return kAudioStatusOk;
    default:
      return kAudioStatusUnknownProperty;
  }
}

AudioStatus AudioHardwareGetProperty(AudioPropertyId property, std::uint32_t* size, void* data) {
  switch (property) {
    case kAudioPropertyDeviceList: {
      std::vector<AudioDeviceId> const ids = CLayer::Get().GetDeviceIds();
      if (size == nullptr || (data == nullptr && !ids.empty())) {
        return kAudioStatusBadParameter;
      }
      // As many as there is room for.
      std::size_t const n = std::min<std::size_t>(ids.size(), *size / sizeof(AudioDeviceId));
      if (n > 0) {
        std::memcpy(data, ids.data(), n * sizeof(AudioDeviceId));
      }
      *size = static_cast<std::uint32_t>(n * sizeof(AudioDeviceId));
      return kAudioStatusOk;
    }
    case kAudioPropertyDefaultInputDevice:
    case kAudioPropertyDefaultOutputDevice: {
      AudioDeviceId const id =
          CLayer::Get().GetDefaultDevice(property == kAudioPropertyDefaultInputDevice);
      return Give(&id, sizeof id, size, data);
    }
    default:
      return kAudioStatusUnknownProperty;
  }
}

AudioStatus AudioHardwareSetProperty(AudioPropertyId property, std::uint32_t size,
                                     void const* data) {
  (void)size;
  (void)data;
  switch (property) {
    case kAudioPropertyDeviceList:
    case kAudioPropertyDefaultInputDevice:
    case kAudioPropertyDefaultOutputDevice:
      return kAudioStatusIllegalOperation;
    default:
      return kAudioStatusUnknownProperty;
  }
}

AudioStatus AudioDeviceGetPropertyInfo(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                       AudioPropertyId property, std::uint32_t* size,
                                       bool* writable) {
  (void)channel;
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  if (!d) {
    return kAudioStatusBadDevice;
  }
  if (size == nullptr) {
    return kAudioStatusBadParameter;
  }
  if (writable != nullptr) {
    *writable = false;
  }
  return DevicePropertySize(*d, isInput, property, size);
}

AudioStatus AudioDeviceGetProperty(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                   AudioPropertyId property, std::uint32_t* size, void* data) {
  (void)channel;
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  if (!d) {
    return kAudioStatusBadDevice;
  }
  switch (property) {
    case kAudioPropertyStreamFormat: {
      AudioStreamBasicDescription const format = d->GetFormat(isInput);
      return Give(&format, sizeof format, size, data);
    }
    case kAudioPropertyDeviceName:
      return Give(d->GetName().c_str(), static_cast<std::uint32_t>(d->GetName().size() + 1), size,
                  data);
    case kAudioPropertyBufferFrameSize: {
      std::uint32_t const frames = d->GetBufferFrames();
      return Give(&frames, sizeof frames, size, data);
    }
    case kAudioPropertyDeviceIsAlive: {
      std::uint32_t const alive = d->IsAlive() ? 1 : 0;
      return Give(&alive, sizeof alive, size, data);
    }
    default:
      return kAudioStatusUnknownProperty;
  }
}

AudioStatus AudioDeviceSetProperty(AudioDeviceId device, AudioTimeStamp const* when,
                                   std::uint32_t channel, bool isInput, AudioPropertyId property,
                                   std::uint32_t size, void const* data) {
  (void)when;
  (void)data;
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  if (!d) {
    return kAudioStatusBadDevice;
  }
  std::uint32_t expected = 0;
  AudioStatus const status = DevicePropertySize(*d, isInput, property, &expected);
  (void)channel;
  (void)size;
  // Every property of ours is read-only.
  return status != kAudioStatusOk ? status : kAudioStatusIllegalOperation;
}

AudioStatus AudioDeviceAddIOProc(AudioDeviceId device, AudioDeviceIOProc proc, void* clientData) {
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  return d ? d->AddIOProc(proc, clientData) : kAudioStatusBadDevice;
}

AudioStatus AudioDeviceRemoveIOProc(AudioDeviceId device, AudioDeviceIOProc proc) {
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  return d ? d->RemoveIOProc(proc) : kAudioStatusBadDevice;
}

AudioStatus AudioDeviceStart(AudioDeviceId device, AudioDeviceIOProc proc) {
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  return d ? d->Start(proc) : kAudioStatusBadDevice;
}

AudioStatus AudioDeviceStop(AudioDeviceId device, AudioDeviceIOProc proc) {
  std::shared_ptr<CLayerDevice> const d = CLayer::Get().Find(device);
  return d ? d->Stop(proc) : kAudioStatusBadDevice;
}

AudioStatus AudioDeviceAddPropertyListener(AudioDeviceId device, std::uint32_t channel,
                                           bool isInput, AudioPropertyId property,
                                           AudioDevicePropertyListenerProc proc, void* clientData) {
  return CLayer::Get().AddListener(device, channel, isInput, property, proc, clientData);
}

AudioStatus AudioDeviceRemovePropertyListener(AudioDeviceId device, std::uint32_t channel,
                                              bool isInput, AudioPropertyId property,
                                              AudioDevicePropertyListenerProc proc) {
  return CLayer::Get().RemoveListener(device, channel, isInput, property, proc);
}

namespace AudioLayer {

void SetAlsaConfiguration(std::string const& text) { CLayer::Get().SetAlsaConfiguration(text); }

}  // namespace AudioLayer
