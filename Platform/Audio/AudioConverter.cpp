#include "Platform/Audio/AudioConverter.h"

#include "Platform/Audio/Private/CFormatConverter.h"

#include <cstring>

struct AudioConverter {
  std::unique_ptr<AudioLayer::CFormatConverter> mImplementation;
};

AudioStatus AudioConverterNew(AudioStreamBasicDescription const* source,
                              AudioStreamBasicDescription const* destination,
                              AudioConverterRef* converter) {
  if (source == nullptr || destination == nullptr || converter == nullptr) {
    return kAudioStatusBadParameter;
  }
  *converter = nullptr;
  AudioStatus status = kAudioStatusOk;
  std::unique_ptr<AudioLayer::CFormatConverter> implementation =
      AudioLayer::CFormatConverter::Create(*source, *destination, &status);
  if (!implementation) {
    return status;
  }
  *converter = new AudioConverter{std::move(implementation)};
  return kAudioStatusOk;
}

AudioStatus AudioConverterDispose(AudioConverterRef converter) {
  if (converter == nullptr) {
    return kAudioStatusBadParameter;
  }
  delete converter;
  return kAudioStatusOk;
}

AudioStatus AudioConverterFillComplexBuffer(AudioConverterRef converter,
                                            AudioConverterComplexInputDataProc proc, void* user,
                                            std::uint32_t* packets, AudioBufferList* output,
                                            void* packetDescriptions) {
  (void)packetDescriptions;
  if (converter == nullptr) {
    return kAudioStatusBadParameter;
  }
  return converter->mImplementation->Fill(converter, proc, user, packets, output);
}

namespace {

// AudioConverterFillBuffer's procedure, asked as the complex one is.
struct CSingleBuffer {
  AudioConverterInputDataProc mProc;
  void* mUser;
  std::uint32_t mFrameBytes;
};

AudioStatus AskSingleBuffer(AudioConverterRef converter, std::uint32_t* packets,
                            AudioBufferList* data, void**, void* user) {
  CSingleBuffer const& single = *static_cast<CSingleBuffer const*>(user);
  std::uint32_t bytes = *packets * single.mFrameBytes;
  void* frames = nullptr;
  AudioStatus const status = single.mProc(converter, &bytes, &frames, single.mUser);
  *packets = status == kAudioStatusOk && frames != nullptr ? bytes / single.mFrameBytes : 0;
  data->mBuffers[0].mData = frames;
  data->mBuffers[0].mDataByteSize = *packets * single.mFrameBytes;
  return status;
}

}  // namespace

AudioStatus AudioConverterFillBuffer(AudioConverterRef converter, AudioConverterInputDataProc proc,
                                     void* user, std::uint32_t* bytes, void* output) {
  if (converter == nullptr || proc == nullptr || bytes == nullptr || output == nullptr) {
    return kAudioStatusBadParameter;
  }
  AudioStreamBasicDescription const& source = converter->mImplementation->GetSource();
  AudioStreamBasicDescription const& destination = converter->mImplementation->GetDestination();
  CSingleBuffer single{proc, user, source.mBytesPerFrame};
  AudioBufferList list = {1, {{destination.mChannelsPerFrame, *bytes, output}}};
  std::uint32_t packets = *bytes / destination.mBytesPerFrame;
  AudioStatus const status =
      converter->mImplementation->Fill(converter, &AskSingleBuffer, &single, &packets, &list);
  *bytes = packets * destination.mBytesPerFrame;
  return status;
}

AudioStatus AudioConverterGetPropertyInfo(AudioConverterRef converter, AudioPropertyId property,
                                          std::uint32_t* size, bool* writable) {
  if (converter == nullptr) {
    return kAudioStatusBadParameter;
  }
  if (property != kAudioConverterPropertySourceFormat &&
      property != kAudioConverterPropertyDestinationFormat) {
    return kAudioStatusUnknownProperty;
  }
  if (size != nullptr) {
    *size = sizeof(AudioStreamBasicDescription);
  }
  if (writable != nullptr) {
    *writable = property == kAudioConverterPropertyDestinationFormat;
  }
  return kAudioStatusOk;
}

AudioStatus AudioConverterGetProperty(AudioConverterRef converter, AudioPropertyId property,
                                      std::uint32_t* size, void* data) {
  AudioStatus const status = AudioConverterGetPropertyInfo(converter, property, nullptr, nullptr);
  if (status != kAudioStatusOk) {
    return status;
  }
  if (size == nullptr || data == nullptr || *size < sizeof(AudioStreamBasicDescription)) {
    return kAudioStatusBadPropertySize;
  }
  AudioLayer::CFormatConverter const& implementation = *converter->mImplementation;
  std::memcpy(data,
              property == kAudioConverterPropertySourceFormat ? &implementation.GetSource()
                                                              : &implementation.GetDestination(),
              sizeof(AudioStreamBasicDescription));
  *size = sizeof(AudioStreamBasicDescription);
  return kAudioStatusOk;
}

AudioStatus AudioConverterSetProperty(AudioConverterRef converter, AudioPropertyId property,
                                      std::uint32_t size, void const* data) {
  bool writable = false;
  AudioStatus const status = AudioConverterGetPropertyInfo(converter, property, nullptr, &writable);
  if (status != kAudioStatusOk) {
    return status;
  }
  if (!writable) {
    return kAudioStatusIllegalOperation;
  }
  if (data == nullptr || size != sizeof(AudioStreamBasicDescription)) {
    return kAudioStatusBadPropertySize;
  }
  AudioStreamBasicDescription destination;
  std::memcpy(&destination, data, sizeof destination);
  return converter->mImplementation->SetDestination(destination);
}
