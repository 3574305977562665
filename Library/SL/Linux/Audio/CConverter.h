#pragma once

#include "Platform/Audio/AudioConverter.h"
#include "SL/Linux/Audio/CAudioStreamDesc.h"

#include <memory>

namespace CoreAudio {

// A format converter fed by a producer through one buffer of its own: the
// source frames of a playback, or the converted frames of a recording.
class CConverter {
public:
  // Puts up to `frames` source frames into buffer and sets frames to how
  // many it put. Returns false at the end of the data; true with 0 frames
  // means nothing for now.
  typedef bool (*Producer)(std::uint32_t& frames, void* buffer, void* user);

  CConverter(Producer producer, void* user);
  ~CConverter();
  CConverter(CConverter const&) = delete;
  CConverter& operator=(CConverter const&) = delete;

  // Disposes of an existing converter first.
  AudioStatus Create(AudioStreamBasicDescription const& source,
                     AudioStreamBasicDescription const& destination);
  AudioStatus Dispose();
  bool IsCreated() const { return mHandle != nullptr; }

  // The buffer only grows; false when it has no room at all.
  bool AllocateSourceBuffer(std::uint32_t frames);
  bool AllocateDestinationBuffer(std::uint32_t frames);
  void ReleaseBuffer();
  void* GetBuffer() const { return mBuffer.get(); }
  std::uint32_t GetBufferSize() const { return mBufferSize; }

  CAudioStreamDesc const& GetSourceFormat() const { return mSource; }
  CAudioStreamDesc const& GetDestinationFormat() const { return mDestination; }

  // Fills output from the producer; frames: wanted in, produced out.
  AudioStatus FillComplexBuffer(std::uint32_t& frames, AudioBufferList* output);
  // Converts captured frames into the buffer; frames: captured in,
  // converted out. When the buffer fills first (a rate raised more than its
  // size allows), the rest stays here: while HasMoreToCopy, CopyMore gives
  // the next part, as long as the list is still readable. What the
  // resampler keeps back comes with the next capture.
  AudioStatus CopyToBuffer(AudioBufferList const* input, std::uint32_t& frames);
  AudioStatus CopyMore(std::uint32_t& frames);
  bool HasMoreToCopy() const { return mCaptured != nullptr; }
  // Fills one buffer from the producer; bytes: its size in, written out.
  AudioStatus FillBuffer(unsigned long& bytes, void* buffer);

  // The converter's own properties (kAudioConverterProperty...); size: the
  // room at data in, the bytes written out. Setting the destination format
  // goes on in it from where the output stands, and the copy kept here
  // follows.
  AudioStatus GetPropertyInfo(AudioPropertyId property, std::uint32_t& size, bool& writable);
  bool HasProperty(AudioPropertyId property);
  AudioStatus GetProperty(AudioPropertyId property, std::uint32_t& size, void* data);
  AudioStatus SetProperty(AudioPropertyId property, std::uint32_t size, void const* data);

private:
  bool Allocate(std::uint64_t bytes);
  static AudioStatus ConverterComplexCallback(AudioConverterRef converter, std::uint32_t* packets,
                                              AudioBufferList* data, void** descriptions,
                                              void* user);
  // FillBuffer's procedure: the producer's frames in one buffer.
  static AudioStatus ConverterCallback(AudioConverterRef converter, std::uint32_t* bytes,
                                       void** data, void* user);
  AudioStatus Capture(std::uint32_t& frames);
  static AudioStatus CaptureCallback(AudioConverterRef converter, std::uint32_t* packets,
                                     AudioBufferList* data, void** descriptions, void* user);

  AudioConverterRef mHandle;
  std::unique_ptr<unsigned char[]> mBuffer;
  std::uint32_t mBufferSize;
  CAudioStreamDesc mSource;
  CAudioStreamDesc mDestination;
  Producer const mProducer;
  void* const mUser;
  // CopyToBuffer's captured frames, handed over once; null once every one
  // of them is converted and given out.
  AudioBufferList const* mCaptured;
  std::uint32_t mCapturedFrames;
  std::uint32_t mCapturedTaken;
};

}  // namespace CoreAudio
