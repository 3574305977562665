#include "SL/Linux/Audio/CConverter.h"

#include "GT/Com/Base/DebugTrace.h"
#include "SL/Linux/Audio/CLog.h"
#include "SL/Linux/Audio/Num2Code.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace CoreAudio {

namespace {

// The producer's "nothing for now": ends a fill without ending the stream.
AudioStatus const kNoDataNow = -1;

// The producer's "nothing now" is success to our caller; real failures are logged.
AudioStatus FillResult(AudioStatus status, [[maybe_unused]] std::uint32_t frames) {
  if (status == kNoDataNow) {
    return 0;
  }
  if (status != 0) {
    TRACE("AudioConverterFillComplexBuffer() failed: error=%s, frames=%d \n",
          num2code(status).c_str(), static_cast<int>(frames));
    CLog::Error(status);
  }
  return status;
}

}  // namespace

CConverter::CConverter(Producer producer, void* user)
    : mHandle(nullptr),
      mBufferSize(0),
      mProducer(producer),
      mUser(user),
      mCaptured(nullptr),
      mCapturedFrames(0),
      mCapturedTaken(0) {}

CConverter::~CConverter() { Dispose(); }

AudioStatus CConverter::Create(AudioStreamBasicDescription const& source,
                               AudioStreamBasicDescription const& destination) {
  AudioStatus status = Dispose();
  if (status != 0) {
    return status;
  }
  if (source.mFramesPerPacket != 1 || destination.mFramesPerPacket != 1) {
    return kAudioStatusUnsupportedFormat;
  }
  status = AudioConverterNew(&source, &destination, &mHandle);
  if (status != 0) {
    TRACE("AudioConverterNew() failed: error=%s \n", num2code(status).c_str());
    CLog::Error(status);
    mHandle = nullptr;
    return status;
  }
  static_cast<AudioStreamBasicDescription&>(mSource) = source;
  static_cast<AudioStreamBasicDescription&>(mDestination) = destination;
  return 0;
}

AudioStatus CConverter::Dispose() {
  AudioStatus status = 0;
  if (mHandle != nullptr) {
    status = AudioConverterDispose(mHandle);
    if (status != 0) {
      TRACE("AudioConverterDispose() failed: error=%s \n", num2code(status).c_str());
      CLog::Error(status);
    }
    mHandle = nullptr;
  }
  return status;
}

bool CConverter::Allocate(std::uint64_t bytes) {
  if (bytes > mBufferSize && bytes <= 0xFFFFFFFFu) {
    mBuffer.reset();
    mBufferSize = 0;
    mBuffer.reset(new (std::nothrow) unsigned char[bytes]);
    if (mBuffer) {
      mBufferSize = static_cast<std::uint32_t>(bytes);
    }
  }
  return mBufferSize != 0;
}

bool CConverter::AllocateSourceBuffer(std::uint32_t frames) {
  return Allocate(static_cast<std::uint64_t>(frames) * mSource.mBytesPerFrame);
}

bool CConverter::AllocateDestinationBuffer(std::uint32_t frames) {
  return Allocate(static_cast<std::uint64_t>(frames) * mDestination.mBytesPerFrame);
}

void CConverter::ReleaseBuffer() {
  mBuffer.reset();
  mBufferSize = 0;
}

AudioStatus CConverter::FillComplexBuffer(std::uint32_t& frames, AudioBufferList* output) {
  if (mHandle == nullptr) {
    TRACE("FillComplexBuffer(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  AudioStatus const status = AudioConverterFillComplexBuffer(mHandle, &ConverterComplexCallback,
                                                             this, &frames, output, nullptr);
  return FillResult(status, frames);
}

AudioStatus CConverter::CopyToBuffer(AudioBufferList const* input, std::uint32_t& frames) {
  mCaptured = nullptr;
  if (mHandle == nullptr) {
    TRACE("CopyToBuffer(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  if (input == nullptr || input->mNumberBuffers < 1 || mDestination.mBytesPerFrame == 0) {
    return kAudioStatusUnspecified;
  }
  mCaptured = input;
  mCapturedFrames = frames;
  mCapturedTaken = 0;
  return Capture(frames);
}

AudioStatus CConverter::CopyMore(std::uint32_t& frames) {
  if (mHandle == nullptr || mCaptured == nullptr) {
    frames = 0;
    return kAudioStatusUnspecified;
  }
  return Capture(frames);
}

AudioStatus CConverter::Capture(std::uint32_t& frames) {
  AudioBufferList output = {1, {{mDestination.mChannelsPerFrame, mBufferSize, mBuffer.get()}}};
  std::uint32_t const room = mBufferSize / mDestination.mBytesPerFrame;
  frames = room;
  AudioStatus const status =
      AudioConverterFillComplexBuffer(mHandle, &CaptureCallback, this, &frames, &output, nullptr);
  // A full buffer may leave frames with the resampler or in the list; once
  // it comes back short, everything captured has been given out.
  if ((status != 0 && status != kNoDataNow) || frames < room || room == 0) {
    mCaptured = nullptr;
  }
  return FillResult(status, frames);
}

AudioStatus CConverter::FillBuffer(unsigned long& bytes, void* buffer) {
  if (mHandle == nullptr) {
    TRACE("FillBuffer(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  std::uint32_t size = static_cast<std::uint32_t>(std::min<unsigned long>(bytes, 0xFFFFFFFFu));
  AudioStatus const status =
      AudioConverterFillBuffer(mHandle, &ConverterCallback, this, &size, buffer);
  bytes = size;
  return FillResult(status, size / std::max<std::uint32_t>(1, mDestination.mBytesPerFrame));
}

AudioStatus CConverter::GetPropertyInfo(AudioPropertyId property, std::uint32_t& size,
                                        bool& writable) {
  if (mHandle == nullptr) {
    TRACE("GetPropertyInfo(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  AudioStatus const status = AudioConverterGetPropertyInfo(mHandle, property, &size, &writable);
  if (status != 0) {
    TRACE("AudioConverterGetPropertyInfo() failed: error=%s, property=%s \n",
          num2code(status).c_str(), num2code(property).c_str());
    CLog::Error(status);
  }
  return status;
}

bool CConverter::HasProperty(AudioPropertyId property) {
  std::uint32_t size = 0;
  bool writable = false;
  return mHandle != nullptr &&
         AudioConverterGetPropertyInfo(mHandle, property, &size, &writable) == 0;
}

AudioStatus CConverter::GetProperty(AudioPropertyId property, std::uint32_t& size, void* data) {
  if (mHandle == nullptr) {
    TRACE("GetProperty(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  AudioStatus const status = AudioConverterGetProperty(mHandle, property, &size, data);
  if (status != 0) {
    TRACE("AudioConverterGetProperty() failed: error=%s, property=%s \n", num2code(status).c_str(),
          num2code(property).c_str());
    CLog::Error(status);
  }
  return status;
}

AudioStatus CConverter::SetProperty(AudioPropertyId property, std::uint32_t size,
                                    void const* data) {
  if (mHandle == nullptr) {
    TRACE("SetProperty(): AudioConverter is not created. \n");
    return kAudioStatusUnspecified;
  }
  AudioStatus const status = AudioConverterSetProperty(mHandle, property, size, data);
  if (status != 0) {
    TRACE("AudioConverterSetProperty() failed: error=%s, property=%s \n", num2code(status).c_str(),
          num2code(property).c_str());
    CLog::Error(status);
  } else if (property == kAudioConverterPropertyDestinationFormat) {
    std::memcpy(static_cast<AudioStreamBasicDescription*>(&mDestination), data,
                sizeof(AudioStreamBasicDescription));
  }
  return status;
}

AudioStatus CConverter::ConverterCallback(AudioConverterRef, std::uint32_t* bytes, void** data,
                                          void* user) {
  CConverter* const self = static_cast<CConverter*>(user);
  if (self == nullptr || bytes == nullptr || data == nullptr) {
    TRACE("ConverterCallback(): invalid parameter. \n");
    return kAudioStatusUnspecified;
  }
  std::uint32_t const frameBytes = self->mSource.mBytesPerFrame;
  if (!self->mBuffer || self->mProducer == nullptr || frameBytes == 0) {
    TRACE("ConverterCallback(): invalid setting. \n");
    return kAudioStatusUnspecified;
  }
  std::uint32_t frames = std::min(*bytes, self->mBufferSize) / frameBytes;
  bool const more = self->mProducer(frames, self->mBuffer.get(), self->mUser);
  *bytes = frames * frameBytes;
  *data = frames > 0 ? self->mBuffer.get() : nullptr;
  return frames > 0 || !more ? 0 : kNoDataNow;
}

AudioStatus CConverter::ConverterComplexCallback(AudioConverterRef, std::uint32_t* packets,
                                                 AudioBufferList* data, void**, void* user) {
  CConverter* const self = static_cast<CConverter*>(user);
  if (self == nullptr || data == nullptr || data->mNumberBuffers < 1 || packets == nullptr) {
    TRACE("ConverterComplexCallback(): invalid parameter. \n");
    return kAudioStatusUnspecified;
  }
  if (!self->mBuffer || self->mProducer == nullptr || self->mSource.mBytesPerFrame == 0) {
    TRACE("ConverterComplexCallback(): invalid setting. \n");
    return kAudioStatusUnspecified;
  }
  std::uint32_t frames = std::min(*packets, self->mBufferSize / self->mSource.mBytesPerFrame);
  bool const more = self->mProducer(frames, self->mBuffer.get(), self->mUser);
  *packets = frames;
  if (frames > 0) {
    data->mBuffers[0].mData = self->mBuffer.get();
    data->mBuffers[0].mDataByteSize = frames * self->mSource.mBytesPerFrame;
    data->mBuffers[0].mNumberChannels = self->mSource.mChannelsPerFrame;
    return 0;
  }
  for (std::uint32_t i = 0; i < data->mNumberBuffers; ++i) {
    data->mBuffers[i].mData = nullptr;
    data->mBuffers[i].mDataByteSize = 0;
  }
  return more ? kNoDataNow : 0;
}

AudioStatus CConverter::CaptureCallback(AudioConverterRef, std::uint32_t* packets,
                                        AudioBufferList* data, void**, void* user) {
  CConverter* const self = static_cast<CConverter*>(user);
  std::uint32_t const left = self->mCapturedFrames - self->mCapturedTaken;
  std::uint32_t const frames = std::min(*packets, left);
  *packets = frames;
  if (frames == 0) {
    data->mBuffers[0].mData = nullptr;
    data->mBuffers[0].mDataByteSize = 0;
    // Not the end of the stream: the resampler keeps its state for the next
    // capture.
    return kNoDataNow;
  }
  unsigned char* const captured = static_cast<unsigned char*>(self->mCaptured->mBuffers[0].mData);
  data->mBuffers[0].mData =
      captured + static_cast<std::size_t>(self->mCapturedTaken) * self->mSource.mBytesPerFrame;
  data->mBuffers[0].mDataByteSize = frames * self->mSource.mBytesPerFrame;
  data->mBuffers[0].mNumberChannels = self->mSource.mChannelsPerFrame;
  self->mCapturedTaken += frames;
  return 0;
}

}  // namespace CoreAudio
