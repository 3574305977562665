#include "Platform/Audio/VirtualDevice.h"

#include "Platform/Audio/Private/CLayer.h"
#include "Platform/Audio/Private/CLayerDevice.h"
#include "Platform/Audio/Private/CVirtualDriver.h"

#include <cstring>
#include <stdexcept>
#include <thread>

namespace AudioLayer {

namespace {

std::uint32_t const kNativeOrder =
    __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? kAudioFormatFlagIsBigEndian : 0;

AudioStreamBasicDescription MakeFormat(double rate, std::uint32_t channels, std::uint32_t bits,
                                       std::uint32_t flags) {
  AudioStreamBasicDescription f;
  std::memset(&f, 0, sizeof f);
  f.mSampleRate = rate;
  f.mFormatID = kAudioFormatLinearPcm;
  f.mFormatFlags = flags | kAudioFormatFlagIsPacked | kNativeOrder;
  f.mBytesPerFrame = bits / 8 * channels;
  f.mBytesPerPacket = f.mBytesPerFrame;
  f.mFramesPerPacket = 1;
  f.mChannelsPerFrame = channels;
  f.mBitsPerChannel = bits;
  return f;
}

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
  auto const end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

AudioStreamBasicDescription MakeFloatFormat(double sampleRate, std::uint32_t channels) {
  return MakeFormat(sampleRate, channels, 32, kAudioFormatFlagIsFloat);
}

AudioStreamBasicDescription MakeInteger16Format(double sampleRate, std::uint32_t channels) {
  return MakeFormat(sampleRate, channels, 16, kAudioFormatFlagIsSignedInteger);
}

std::vector<float> CVirtualRecording::Floats() const {
  std::vector<float> floats;
  if ((mFormat.mFormatFlags & kAudioFormatFlagIsFloat) == 0 || mFormat.mBitsPerChannel != 32) {
    return floats;
  }
  floats.resize(mBytes.size() / sizeof(float));
  std::memcpy(floats.data(), mBytes.data(), floats.size() * sizeof(float));
  return floats;
}

CVirtualDevice::CVirtualDevice(std::shared_ptr<CLayerDevice> device, CVirtualDriver* driver)
    : mDevice(std::move(device)), mDriver(driver) {}

AudioDeviceId CVirtualDevice::GetId() const { return mDevice->GetId(); }

std::string const& CVirtualDevice::GetName() const { return mDevice->GetName(); }

void CVirtualDevice::SetStreamFormat(AudioStreamBasicDescription const& format) {
  mDevice->Suspend();
  mDevice->SetFormat(format);
  CLayer::Get().Announce(mDevice->GetId(), mDevice->IsInput(), kAudioPropertyStreamFormat);
  mDevice->Resume();
}

void CVirtualDevice::SetStartFails(bool fails) { mDriver->SetStartFails(fails); }

std::vector<CVirtualRecording> CVirtualDevice::GetRecordings() const {
  std::vector<CVirtualRecording> recordings;
  for (auto& kept : mDriver->GetKept()) {
    recordings.push_back(CVirtualRecording{kept.first, std::move(kept.second)});
  }
  return recordings;
}

std::vector<float> CVirtualDevice::GetOutput() const {
  std::vector<float> all;
  for (CVirtualRecording const& r : GetRecordings()) {
    std::vector<float> const floats = r.Floats();
    all.insert(all.end(), floats.begin(), floats.end());
  }
  return all;
}

void CVirtualDevice::ClearOutput() { mDriver->Clear(); }

std::size_t CVirtualDevice::Feed(std::vector<float> const& samples) {
  return mDriver->Feed(samples.data(), samples.size());
}

bool CVirtualDevice::IsRunning() const { return mDevice->IsRunning(); }

unsigned long CVirtualDevice::GetCycleCount() const { return mDriver->GetCycles(); }

unsigned long CVirtualDevice::GetStartCount() const { return mDriver->GetStarts(); }

std::size_t CVirtualDevice::GetIOProcCount() const { return mDevice->GetIOProcCount(); }

bool CVirtualDevice::WaitUntilIdle(std::chrono::milliseconds limit) const {
  return WaitFor([this] { return !IsRunning(); }, limit);
}

bool CVirtualDevice::WaitForCycles(unsigned long count, std::chrono::milliseconds limit) const {
  return WaitFor([this, count] { return GetCycleCount() >= count; }, limit);
}

CVirtualAudio::CVirtualAudio()
    : CVirtualAudio({CVirtualDeviceOptions(), [] {
                       CVirtualDeviceOptions input;
                       input.mName = "Virtual Input";
                       input.mIsInput = true;
                       return input;
                     }()}) {}

CVirtualAudio::CVirtualAudio(std::vector<CVirtualDeviceOptions> const& devices) {
  CLayer& layer = CLayer::Get();
  std::vector<std::shared_ptr<CLayerDevice> > made;
  for (CVirtualDeviceOptions const& o : devices) {
    double const frames = o.mCapacitySeconds * o.mFormat.mSampleRate;
    std::size_t const capacity =
        static_cast<std::size_t>(frames > 0.0 ? frames : 0.0) *
        (o.mIsInput ? o.mFormat.mChannelsPerFrame : o.mFormat.mBytesPerFrame);
    CVirtualDriver* const driver = new CVirtualDriver(o.mIsInput, o.mFormat, capacity);
    std::shared_ptr<CLayerDevice> device =
        std::make_shared<CLayerDevice>(layer.MakeId(), o.mName, o.mIsInput, o.mFormat,
                                       o.mBufferFrames, std::unique_ptr<IDeviceDriver>(driver));
    made.push_back(device);
    mDevices.push_back(std::unique_ptr<CVirtualDevice>(new CVirtualDevice(device, driver)));
  }
  layer.Override(made);
}

CVirtualAudio::~CVirtualAudio() { CLayer::Get().ClearOverride(); }

CVirtualDevice& CVirtualAudio::Output() {
  for (auto& d : mDevices) {
    if (!d->mDevice->IsInput()) {
      return *d;
    }
  }
  throw std::logic_error("no virtual output device");
}

CVirtualDevice& CVirtualAudio::Input() {
  for (auto& d : mDevices) {
    if (d->mDevice->IsInput()) {
      return *d;
    }
  }
  throw std::logic_error("no virtual input device");
}

CVirtualDevice& CVirtualAudio::Device(std::size_t index) { return *mDevices.at(index); }

void CVirtualAudio::RemoveAllDevices() {
  CLayer::Get().Override(std::vector<std::shared_ptr<CLayerDevice> >());
}

}  // namespace AudioLayer
