#pragma once

// Our audio hardware layer: devices with ids and properties, IO procedures
// run on one IO thread per device, property listeners run on one
// notification thread. Backed by ALSA, or by virtual devices for tests
// (VirtualDevice.h).

#include <cstdint>

typedef std::int32_t AudioStatus;
typedef std::uint32_t AudioDeviceId;
typedef std::uint32_t AudioPropertyId;

// A four-character code as one big-endian 32-bit value: "sfmt" reads 's' in
// its top byte.
constexpr std::uint32_t AudioFourCharCode(char const (&code)[5]) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

constexpr AudioDeviceId kAudioDeviceNone = 0;

// Hardware-wide properties.
constexpr AudioPropertyId kAudioPropertyDeviceList = AudioFourCharCode("dev#");  // AudioDeviceId[]
constexpr AudioPropertyId kAudioPropertyDefaultInputDevice = AudioFourCharCode("dIn ");
constexpr AudioPropertyId kAudioPropertyDefaultOutputDevice = AudioFourCharCode("dOut");

// Device properties. The stream format of a direction the device lacks reads
// as a format of 0 channels.
constexpr AudioPropertyId kAudioPropertyStreamFormat = AudioFourCharCode("sfmt");
constexpr AudioPropertyId kAudioPropertyDeviceName = AudioFourCharCode("name");  // with its zero
constexpr AudioPropertyId kAudioPropertyBufferFrameSize = AudioFourCharCode("fsiz");
constexpr AudioPropertyId kAudioPropertyDeviceIsAlive = AudioFourCharCode("livn");

constexpr std::uint32_t kAudioFormatLinearPcm = AudioFourCharCode("lpcm");
constexpr std::uint32_t kAudioFormatFlagIsFloat = 1;
constexpr std::uint32_t kAudioFormatFlagIsBigEndian = 2;
constexpr std::uint32_t kAudioFormatFlagIsSignedInteger = 4;
constexpr std::uint32_t kAudioFormatFlagIsPacked = 8;
constexpr std::uint32_t kAudioFormatFlagIsNonInterleaved = 32;

constexpr AudioStatus kAudioStatusOk = 0;
constexpr AudioStatus kAudioStatusBadDevice = static_cast<AudioStatus>(AudioFourCharCode("!dev"));
constexpr AudioStatus kAudioStatusUnknownProperty =
    static_cast<AudioStatus>(AudioFourCharCode("who?"));
constexpr AudioStatus kAudioStatusBadPropertySize =
    static_cast<AudioStatus>(AudioFourCharCode("!siz"));
constexpr AudioStatus kAudioStatusIllegalOperation =
    static_cast<AudioStatus>(AudioFourCharCode("nope"));
constexpr AudioStatus kAudioStatusUnsupportedFormat =
    static_cast<AudioStatus>(AudioFourCharCode("fmt?"));
constexpr AudioStatus kAudioStatusUnspecified = static_cast<AudioStatus>(AudioFourCharCode("what"));
constexpr AudioStatus kAudioStatusStartFailed = static_cast<AudioStatus>(AudioFourCharCode("!sta"));
constexpr AudioStatus kAudioStatusBadParameter = -50;

// The layout of one stream: 40 bytes, read and written as a property.
struct AudioStreamBasicDescription {
  double mSampleRate;
  std::uint32_t mFormatID;
  std::uint32_t mFormatFlags;
  std::uint32_t mBytesPerPacket;
  std::uint32_t mFramesPerPacket;
  std::uint32_t mBytesPerFrame;
  std::uint32_t mChannelsPerFrame;
  std::uint32_t mBitsPerChannel;
  std::uint32_t mReserved;
};
static_assert(sizeof(AudioStreamBasicDescription) == 40, "stream description layout");

struct AudioBuffer {
  std::uint32_t mNumberChannels;
  std::uint32_t mDataByteSize;
  void* mData;
};

// Interleaved streams only: one buffer.
struct AudioBufferList {
  std::uint32_t mNumberBuffers;
  AudioBuffer mBuffers[1];
};

// mSampleTime counts the device's frames since its IO started; mHostTime is
// the steady clock in nanoseconds.
struct AudioTimeStamp {
  double mSampleTime;
  std::uint64_t mHostTime;
};

// Called on the device's IO thread once per cycle: inputData holds what an
// input device captured, outputData is zeroed and is what an output device
// plays. The direction a device lacks comes as null.
typedef AudioStatus (*AudioDeviceIOProc)(AudioDeviceId device, AudioTimeStamp const* now,
                                         AudioBufferList const* inputData,
                                         AudioTimeStamp const* inputTime,
                                         AudioBufferList* outputData,
                                         AudioTimeStamp const* outputTime, void* clientData);

// Called on the notification thread after a property changed.
typedef AudioStatus (*AudioDevicePropertyListenerProc)(AudioDeviceId device, std::uint32_t channel,
                                                       bool isInput, AudioPropertyId property,
                                                       void* clientData);

// Sizes are in bytes: on entry the room at data, on return what was written.
AudioStatus AudioHardwareGetPropertyInfo(AudioPropertyId property, std::uint32_t* size,
                                         bool* writable);
AudioStatus AudioHardwareGetProperty(AudioPropertyId property, std::uint32_t* size, void* data);
AudioStatus AudioHardwareSetProperty(AudioPropertyId property, std::uint32_t size,
                                     void const* data);

AudioStatus AudioDeviceGetPropertyInfo(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                       AudioPropertyId property, std::uint32_t* size,
                                       bool* writable);
AudioStatus AudioDeviceGetProperty(AudioDeviceId device, std::uint32_t channel, bool isInput,
                                   AudioPropertyId property, std::uint32_t* size, void* data);
AudioStatus AudioDeviceSetProperty(AudioDeviceId device, AudioTimeStamp const* when,
                                   std::uint32_t channel, bool isInput, AudioPropertyId property,
                                   std::uint32_t size, void const* data);

// A procedure is added once per device, then started and stopped. Once
// AudioDeviceStop or AudioDeviceRemoveIOProc returns, no call of that
// procedure is running, unless it was called from inside that very call.
AudioStatus AudioDeviceAddIOProc(AudioDeviceId device, AudioDeviceIOProc proc, void* clientData);
AudioStatus AudioDeviceRemoveIOProc(AudioDeviceId device, AudioDeviceIOProc proc);
AudioStatus AudioDeviceStart(AudioDeviceId device, AudioDeviceIOProc proc);
AudioStatus AudioDeviceStop(AudioDeviceId device, AudioDeviceIOProc proc);

// Listeners are called with no layer lock held. Removing one does not wait
// for a call of it already under way.
AudioStatus AudioDeviceAddPropertyListener(AudioDeviceId device, std::uint32_t channel,
                                           bool isInput, AudioPropertyId property,
                                           AudioDevicePropertyListenerProc proc, void* clientData);
AudioStatus AudioDeviceRemovePropertyListener(AudioDeviceId device, std::uint32_t channel,
                                              bool isInput, AudioPropertyId property,
                                              AudioDevicePropertyListenerProc proc);
