#include "SL/Linux/Audio/CCaAudioDeviceTransaction.h"

#include "SL/Com/Buffer/CSampleCopierFactory.h"
#include "SL/Com/Buffer/CSampleTransformerFactory.h"

#include <algorithm>
#include <cstring>

namespace SL {

CCaAudioDeviceBase::CTransaction::CTransaction(CCaAudioDeviceBase& device,
                                               boost::shared_ptr<IInputSampleIterator> source)
    : ATransaction(source),
      mState(0),
      mDevice(device),
      mDeviceIO(device.GetDevice(), nullptr, &CallbackOutputProc, this),
      mConverter(&CallbackConverterProc, this),
      mFrameCounter(0),
      mHeldBytes(0) {
  Construct();
}

CCaAudioDeviceBase::CTransaction::CTransaction(CCaAudioDeviceBase& device,
                                               boost::shared_ptr<IOutputSampleIterator> destination)
    : ATransaction(destination),
      mState(Input),
      mDevice(device),
      mDeviceIO(device.GetDevice(), &CallbackInputProc, nullptr, this),
      mConverter(&CallbackConverterProc, this),
      mFrameCounter(0),
      mHeldBytes(0) {
  Construct();
}

CCaAudioDeviceBase::CTransaction::~CTransaction() {
  mFormatListener.Remove();
  {
    std::lock_guard<std::mutex> lock(mStreamMutex);
    mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
    mDeviceIO.Stop(true);
  }
  mConverter.Dispose();
  mConverter.ReleaseBuffer();
  mCopier.reset();
}

void CCaAudioDeviceBase::CTransaction::Construct() {
  AudioDeviceId const id = mDevice.GetDevice().GetId();
  if (!mIterator || id == kAudioDeviceNone) {
    return;
  }
  if (mFormatListener.Add(id, kAudioPropertyStreamFormat, &CallbackPropertyListenerProc, this,
                          IsInput(), 0) != 0) {
    return;
  }
  Initialize();
}

void CCaAudioDeviceBase::CTransaction::Initialize() {
  mState.fetch_and(~static_cast<std::uint32_t>(Valid | Exhausted));
  mFrameCounter.store(0);
  CBitDepth const depth = mIterator->GetAttribute().mBitDepth;
  mTransformer = CSampleTransformerFactory::Create(depth);
  mCopier = CSampleCopierFactory::Create(depth);
  mHeld.assign(static_cast<std::size_t>(std::max(0L, mIterator->GetAttribute().GetBytesPerFrame())),
               0);
  mHeldBytes = 0;
  // Without a copier the audio thread would have nothing to move frames with.
  if (mCopier) {
    mState.fetch_or(Valid);
  }
}

bool CCaAudioDeviceBase::CTransaction::OpenStream(CoreAudio::CAudioStreamDesc const& streamFormat) {
  bool const input = IsInput();
  mDeviceFormat.Init(mDevice.GetDevice().GetId(), input);
  if (mDeviceFormat.mBytesPerFrame == 0 || mDeviceFormat.mChannelsPerFrame == 0) {
    return false;
  }
  // A playback under way goes on in the new format from the frame it has
  // reached, with what the converter had taken and not yet played.
  AudioStatus status = -1;
  if (!input && mConverter.IsCreated()) {
    status = mConverter.SetProperty(kAudioConverterPropertyDestinationFormat,
                                    sizeof(AudioStreamBasicDescription), &mDeviceFormat);
  }
  // A recording converts from the device's format to the stream's.
  if (status != 0) {
    status = input ? mConverter.Create(mDeviceFormat, streamFormat)
                   : mConverter.Create(streamFormat, mDeviceFormat);
  }
  if (status != 0) {
    return false;
  }
  std::uint32_t frames = 0;
  std::uint32_t size = sizeof frames;
  if (mDevice.GetDevice().GetProperty(0, false, kAudioPropertyBufferFrameSize, size, &frames) !=
      0) {
    frames = 0;
  }
  // Twice the hardware buffer, so that one callback's request always fits;
  // a recording at a rate raised further fills it more than once.
  std::uint32_t const twice = frames <= 0x7FFFFFFFu ? frames * 2 : frames;
  return input
             ? (mConverter.AllocateDestinationBuffer(twice) ||
                mConverter.AllocateDestinationBuffer(frames))
             : (mConverter.AllocateSourceBuffer(twice) || mConverter.AllocateSourceBuffer(frames));
}

bool CCaAudioDeviceBase::CTransaction::StartStreaming() {
  std::lock_guard<std::mutex> lock(mStreamMutex);
  if (IsStreaming()) {
    return true;
  }
  if (!IsValid()) {
    return false;
  }
  CoreAudio::CAudioStreamDesc streamFormat;
  streamFormat.SetAttribute(mIterator->GetAttribute());
  if (!OpenStream(streamFormat)) {
    return false;
  }
  // Streaming before the IO starts: the very first callback already plays.
  mState.fetch_and(~static_cast<std::uint32_t>(Exhausted));
  mState.fetch_or(Streaming);
  if (mDeviceIO.Start() != 0) {
    mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
    return false;
  }
  return true;
}

bool CCaAudioDeviceBase::CTransaction::InternalStopStreaming(bool wait) {
  if (CoreAudio::CDeviceIO::IsCallbackThread()) {
    mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
    return true;
  }
  std::lock_guard<std::mutex> lock(mStreamMutex);
  if (!IsStreaming()) {
    return true;
  }
  mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
  return mDeviceIO.Stop(wait) == 0;
}

bool CCaAudioDeviceBase::CTransaction::RestartStreaming() {
  std::lock_guard<std::mutex> lock(mStreamMutex);
  if (!IsStreaming()) {
    return false;
  }
  mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
  CoreAudio::CAudioStreamDesc const streamFormat =
      IsInput() ? mConverter.GetDestinationFormat() : mConverter.GetSourceFormat();
  // Waiting: no callback may still use the converter about to be replaced.
  if (mDeviceIO.Stop(true) == 0 && OpenStream(streamFormat)) {
    mState.fetch_or(Streaming);
    if (mDeviceIO.Start() == 0) {
      return true;
    }
    mState.fetch_and(~static_cast<std::uint32_t>(Streaming));
  }
  mDeviceIO.Stop(true);
  mState.fetch_or(Exhausted);
  return false;
}

bool CCaAudioDeviceBase::CTransaction::HandleOutput(AudioBufferList* list) {
  if (list == nullptr || list->mNumberBuffers < 1 || list->mBuffers[0].mData == nullptr ||
      mDeviceFormat.mBytesPerFrame == 0) {
    return false;
  }
  std::uint32_t frames = list->mBuffers[0].mDataByteSize / mDeviceFormat.mBytesPerFrame;
  if (mConverter.FillComplexBuffer(frames, list) != 0 || frames == 0) {
    return false;
  }
  mDevice.AddTotalFrame(TakeFrames());
  mDevice.FireAudioDeviceEvent(CAudioDeviceEvent::Output, nullptr);
  return true;
}

bool CCaAudioDeviceBase::CTransaction::HandleInput(AudioBufferList const* list) {
  if (list == nullptr || list->mNumberBuffers < 1 || list->mBuffers[0].mData == nullptr ||
      mDeviceFormat.mBytesPerFrame == 0 || mDestination == nullptr) {
    return false;
  }
  std::uint32_t frames = list->mBuffers[0].mDataByteSize / mDeviceFormat.mBytesPerFrame;
  std::uint32_t const frameBytes = mConverter.GetDestinationFormat().mBytesPerFrame;
  // A raised rate can give more than the buffer holds: it is emptied into the
  // destination and filled again until everything captured has gone there.
  AudioStatus status = mConverter.CopyToBuffer(list, frames);
  bool moved = false;
  while (status == 0 && frames > 0) {
    unsigned long bytes = static_cast<unsigned long>(frames) * frameBytes;
    unsigned long const written =
        mCopier->CopyFromBuffer(mConverter.GetBuffer(), bytes, *mDestination);
    mFrameCounter.fetch_add(static_cast<std::uint32_t>(written));
    moved = true;
    // A full destination takes nothing more; the next callback retires it.
    if (written < frames || !mConverter.HasMoreToCopy()) {
      break;
    }
    status = mConverter.CopyMore(frames);
  }
  if (!moved) {
    return false;
  }
  mDevice.AddTotalFrame(TakeFrames());
  mDevice.FireAudioDeviceEvent(CAudioDeviceEvent::Input, nullptr);
  return false;
}

bool CCaAudioDeviceBase::CTransaction::CallbackOutputProc(AudioTimeStamp const*,
                                                          AudioBufferList* output,
                                                          AudioTimeStamp const*, void* user) {
  if (user == nullptr) {
    return false;
  }
  CTransaction& self = *static_cast<CTransaction*>(user);
  std::uint32_t const state = self.mState.load();
  if ((state & Streaming) == 0 || (state & Exhausted) != 0 || (state & Input) != 0) {
    return false;
  }
  // Dry and nothing more from the converter (a resampler may still hold
  // the end of the sound): exhausted, for the runner to retire.
  bool const dry = self.HasBufferUnderflowed();
  bool const played = self.HandleOutput(output);
  if (!played && dry) {
    self.mState.fetch_or(Exhausted);
  }
  return played;
}

bool CCaAudioDeviceBase::CTransaction::CallbackInputProc(AudioTimeStamp const*,
                                                         AudioBufferList const* input,
                                                         AudioTimeStamp const*, void* user) {
  if (user == nullptr) {
    return false;
  }
  CTransaction& self = *static_cast<CTransaction*>(user);
  std::uint32_t const state = self.mState.load();
  if ((state & Streaming) == 0 || (state & Exhausted) != 0 || (state & Input) == 0) {
    return false;
  }
  if (self.HasBufferOverflowed()) {
    self.mState.fetch_or(Exhausted);
    return false;
  }
  return self.HandleInput(input);
}

bool CCaAudioDeviceBase::CTransaction::CallbackConverterProc(std::uint32_t& frames, void* buffer,
                                                             void* user) {
  CTransaction* const self = static_cast<CTransaction*>(user);
  if (self == nullptr || buffer == nullptr || self->mSource == nullptr || !self->mCopier) {
    frames = 0;
    return false;
  }
  std::size_t const frameBytes = self->mConverter.GetSourceFormat().mBytesPerFrame;
  std::size_t const room = static_cast<std::size_t>(frames) * frameBytes;
  std::size_t const held = self->mHeldBytes;
  if (frameBytes == 0 || frameBytes != self->mHeld.size() || room < frameBytes) {
    frames = 0;
    return room == 0 && self->mSource->HasNext();
  }
  unsigned char* const out = static_cast<unsigned char*>(buffer);
  std::memcpy(out, self->mHeld.data(), held);
  unsigned long bytes = static_cast<unsigned long>(room - held);
  self->mCopier->CopyToBuffer(*self->mSource, out + held, bytes);
  std::size_t const sampleBytes = frameBytes / self->mSource->GetAttribute().mChannelCount;
  std::size_t const moved = held + bytes + self->mCopier->GetPartialSamples() * sampleBytes;
  std::size_t const whole = moved / frameBytes;
  self->mHeldBytes = moved - whole * frameBytes;
  std::memcpy(self->mHeld.data(), out + whole * frameBytes, self->mHeldBytes);
  frames = static_cast<std::uint32_t>(whole);
  self->mFrameCounter.fetch_add(frames);
  // The end of the source ends the converter's stream, so a resampler gives
  // out what it holds; a partial frame then goes unheard.
  return whole > 0 || self->mSource->HasNext();
}

AudioStatus CCaAudioDeviceBase::CTransaction::CallbackPropertyListenerProc(AudioDeviceId,
                                                                           std::uint32_t, bool,
                                                                           AudioPropertyId property,
                                                                           void* user) {
  if (user == nullptr) {
    return kAudioStatusUnspecified;
  }
  if (property != kAudioPropertyStreamFormat) {
    return 0;
  }
  CTransaction& self = *static_cast<CTransaction*>(user);
  if (self.IsStreaming()) {
    self.RestartStreaming();
  }
  return 0;
}

}  // namespace SL
