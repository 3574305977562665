#include "Platform/Audio/AudioConverter.h"

#include "Platform/Audio/Private/CFormatConverter.h"

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
