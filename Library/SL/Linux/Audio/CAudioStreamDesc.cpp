#include "SL/Linux/Audio/CAudioStreamDesc.h"

#include <cstring>

namespace CoreAudio {

namespace {

int const kIntegerKind = 0x10000;
int const kFloatKind = 0x20000;

}  // namespace

CAudioStreamDesc::CAudioStreamDesc() {
  AudioStreamBasicDescription& self = *this;
  std::memset(&self, 0, sizeof self);
}

CAudioStreamDesc::CAudioStreamDesc(CDevice const& device, bool isInput) : CAudioStreamDesc() {
  Init(device.GetId(), isInput);
}

CAudioStreamDesc::CAudioStreamDesc(AudioDeviceId device, bool isInput) : CAudioStreamDesc() {
  Init(device, isInput);
}

void CAudioStreamDesc::Init(AudioDeviceId device, bool isInput) {
  AudioStreamBasicDescription read;
  std::memset(&read, 0, sizeof read);
  AudioStreamBasicDescription& self = *this;
  if (CDevice(device).GetAudioStreamDesc(read, isInput)) {
    self = read;
  } else {
    std::memset(&self, 0, sizeof self);
  }
}

void CAudioStreamDesc::SetAttribute(SL::CSampleAttribute const& attribute) {
  int const code = attribute.mBitDepth.GetValue();
  std::uint32_t const bits = static_cast<std::uint32_t>(code & 0xFFFF);
  std::uint32_t const channels =
      attribute.mChannelCount > 0 ? static_cast<std::uint32_t>(attribute.mChannelCount) : 0;
  mSampleRate = attribute.mSampleRate;
  mFormatID = kAudioFormatLinearPcm;
  if ((code & kFloatKind) != 0) {
    mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked;
  } else {
    // The toolkit's 8-bit samples are unsigned, its wider integers signed.
    mFormatFlags = kAudioFormatFlagIsPacked | (bits > 8 ? kAudioFormatFlagIsSignedInteger : 0);
  }
  if (attribute.IsBigEndian()) {
    mFormatFlags |= kAudioFormatFlagIsBigEndian;
  }
  mBitsPerChannel = bits;
  mChannelsPerFrame = channels;
  mFramesPerPacket = 1;
  mBytesPerFrame = bits / 8 * channels;
  mBytesPerPacket = mBytesPerFrame;
  mReserved = 0;
}

bool CAudioStreamDesc::GetAttribute(SL::CSampleAttribute& attribute) const {
  if (mFormatID != kAudioFormatLinearPcm) {
    return false;
  }
  int const kind = (mFormatFlags & kAudioFormatFlagIsFloat) != 0 ? kFloatKind : kIntegerKind;
  try {
    attribute.mBitDepth = SL::CBitDepth(static_cast<int>(mBitsPerChannel) | kind);
  } catch (SL::CBitDepth::CError const&) {
    return false;  // a depth the toolkit has no name for
  }
  attribute.mSampleRate = mSampleRate;
  attribute.mChannelCount = static_cast<int>(mChannelsPerFrame);
  attribute.SetEndian((mFormatFlags & kAudioFormatFlagIsBigEndian) != 0
                          ? GT::CEndianness::BigEndian
                          : GT::CEndianness::LittleEndian);
  return true;
}

}  // namespace CoreAudio
