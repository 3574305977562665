#include "Platform/Audio/Private/CFormatConverter.h"

#include <algorithm>
#include <cstring>

namespace AudioLayer {

namespace {

// libsamplerate's range of ratios.
double const kLowestRatio = 1.0 / 256.0;
double const kHighestRatio = 256.0;

}  // namespace

std::unique_ptr<CFormatConverter> CFormatConverter::Create(
    AudioStreamBasicDescription const& source, AudioStreamBasicDescription const& destination,
    AudioStatus* status) {
  CPcmEncoding from;
  CPcmEncoding to;
  if (!DescribePcm(source, from) || !DescribePcm(destination, to)) {
    *status = kAudioStatusUnsupportedFormat;
    return nullptr;
  }
  double const ratio = destination.mSampleRate / source.mSampleRate;
  if (ratio < kLowestRatio || ratio > kHighestRatio) {
    *status = kAudioStatusUnsupportedFormat;
    return nullptr;
  }
  std::unique_ptr<CFormatConverter> converter(new CFormatConverter(source, destination, from, to));
  if (ratio != 1.0) {
    int error = 0;
    converter->mResampler =
        src_new(SRC_SINC_MEDIUM_QUALITY, static_cast<int>(destination.mChannelsPerFrame), &error);
    if (converter->mResampler == nullptr) {
      *status = kAudioStatusUnspecified;
      return nullptr;
    }
    converter->mRatio = ratio;
    converter->mStaged.resize(sChunkFrames * destination.mChannelsPerFrame);
    converter->mResampled.resize(sChunkFrames * destination.mChannelsPerFrame);
  }
  *status = kAudioStatusOk;
  return converter;
}

CFormatConverter::CFormatConverter(AudioStreamBasicDescription const& source,
                                   AudioStreamBasicDescription const& destination,
                                   CPcmEncoding const& from, CPcmEncoding const& to)
    : mSource(source),
      mDestination(destination),
      mFrom(from),
      mTo(to),
      mSameEncoding(from == to),
      mEnded(false),
      mResampler(nullptr),
      mRatio(1.0),
      mStagedFrames(0),
      mResampledStart(0),
      mResampledFrames(0),
      mDrained(false) {}

CFormatConverter::~CFormatConverter() {
  if (mResampler != nullptr) {
    src_delete(mResampler);
  }
}

AudioStatus CFormatConverter::Fill(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                                   void* user, std::uint32_t* packets, AudioBufferList* output) {
  if (proc == nullptr || packets == nullptr || output == nullptr || output->mNumberBuffers < 1 ||
      output->mBuffers[0].mData == nullptr) {
    return kAudioStatusBadParameter;
  }
  std::uint32_t const room = output->mBuffers[0].mDataByteSize / mDestination.mBytesPerFrame;
  std::uint32_t const want = std::min(*packets, room);
  unsigned char* const out = static_cast<unsigned char*>(output->mBuffers[0].mData);
  std::uint32_t produced = 0;
  AudioStatus const status = mResampler != nullptr
                                 ? FillResampled(self, proc, user, out, want, &produced)
                                 : FillDirect(self, proc, user, out, want, &produced);
  *packets = produced;
  output->mBuffers[0].mDataByteSize = produced * mDestination.mBytesPerFrame;
  output->mBuffers[0].mNumberChannels = mDestination.mChannelsPerFrame;
  return status;
}

AudioStatus CFormatConverter::FillDirect(AudioConverterRef self,
                                         AudioConverterComplexInputDataProc proc, void* user,
                                         unsigned char* out, std::uint32_t want,
                                         std::uint32_t* produced) {
  while (*produced < want && !mEnded) {
    unsigned char const* in = nullptr;
    std::uint32_t given = 0;
    AudioStatus const status = Ask(self, proc, user, want - *produced, &in, &given);
    if (status != kAudioStatusOk) {
      return status;
    }
    if (given == 0) {
      continue;
    }
    Convert(in, out + static_cast<std::size_t>(*produced) * mDestination.mBytesPerFrame, given);
    *produced += given;
  }
  return kAudioStatusOk;
}

AudioStatus CFormatConverter::Ask(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                                  void* user, std::uint32_t limit, unsigned char const** in,
                                  std::uint32_t* given) {
  std::uint32_t asked = limit;
  AudioBufferList list = {1, {{mSource.mChannelsPerFrame, 0, nullptr}}};
  AudioStatus const status = proc(self, &asked, &list, nullptr, user);
  if (status != kAudioStatusOk) {
    return status;
  }
  if (asked == 0) {
    mEnded = true;
    return kAudioStatusOk;
  }
  if (list.mNumberBuffers < 1 || list.mBuffers[0].mData == nullptr) {
    return kAudioStatusBadParameter;
  }
  // Never more than asked for, nor than the buffer holds.
  *in = static_cast<unsigned char const*>(list.mBuffers[0].mData);
  *given = std::min({asked, limit, list.mBuffers[0].mDataByteSize / mSource.mBytesPerFrame});
  return kAudioStatusOk;
}

void CFormatConverter::Convert(unsigned char const* in, unsigned char* out,
                               std::size_t frames) const {
  if (mSameEncoding) {
    MapFrames(in, mSource.mChannelsPerFrame, out, mDestination.mChannelsPerFrame, mTo, frames);
    return;
  }
  // A frame at a time through one float frame on the stack: no memory of our own.
  float frame[kAudioMaxChannels];
  std::uint32_t const channels = mDestination.mChannelsPerFrame;
  for (std::size_t f = 0; f < frames; ++f) {
    DecodeFrames(in + f * mSource.mBytesPerFrame, mFrom, mSource.mChannelsPerFrame, frame, channels,
                 1);
    EncodeFrames(frame, channels, out + f * mDestination.mBytesPerFrame, mTo, 1);
  }
}

AudioStatus CFormatConverter::Pull(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                                   void* user) {
  unsigned char const* in = nullptr;
  std::uint32_t given = 0;
  AudioStatus const status =
      Ask(self, proc, user, static_cast<std::uint32_t>(sChunkFrames - mStagedFrames), &in, &given);
  if (status != kAudioStatusOk || given == 0) {
    return status;
  }
  std::uint32_t const channels = mDestination.mChannelsPerFrame;
  DecodeFrames(in, mFrom, mSource.mChannelsPerFrame, mStaged.data() + mStagedFrames * channels,
               channels, given);
  mStagedFrames += given;
  return kAudioStatusOk;
}

AudioStatus CFormatConverter::FillResampled(AudioConverterRef self,
                                            AudioConverterComplexInputDataProc proc, void* user,
                                            unsigned char* out, std::uint32_t want,
                                            std::uint32_t* produced) {
  std::uint32_t const channels = mDestination.mChannelsPerFrame;
  AudioStatus paused = kAudioStatusOk;  // the producer's "nothing now"
  while (*produced < want) {
    if (mResampledFrames > 0) {
      std::size_t const n = std::min<std::size_t>(mResampledFrames, want - *produced);
      EncodeFrames(mResampled.data() + mResampledStart * channels, channels,
                   out + static_cast<std::size_t>(*produced) * mDestination.mBytesPerFrame, mTo, n);
      mResampledStart += n;
      mResampledFrames -= n;
      *produced += static_cast<std::uint32_t>(n);
      continue;
    }
    if (mDrained) {
      break;
    }
    if (!mEnded && paused == kAudioStatusOk && mStagedFrames < sChunkFrames) {
      paused = Pull(self, proc, user);
      if (paused != kAudioStatusOk && paused != -1) {
        return paused;
      }
    }
    SRC_DATA data;
    data.data_in = mStaged.data();
    data.data_out = mResampled.data();
    data.input_frames = static_cast<long>(mStagedFrames);
    data.output_frames = static_cast<long>(sChunkFrames);
    data.end_of_input = mEnded ? 1 : 0;
    data.src_ratio = mRatio;
    data.input_frames_used = 0;
    data.output_frames_gen = 0;
    if (src_process(mResampler, &data) != 0) {
      return kAudioStatusUnspecified;
    }
    std::size_t const used = static_cast<std::size_t>(data.input_frames_used);
    mStagedFrames -= used;
    std::memmove(mStaged.data(), mStaged.data() + used * channels,
                 mStagedFrames * channels * sizeof(float));
    mResampledStart = 0;
    mResampledFrames = static_cast<std::size_t>(data.output_frames_gen);
    if (mResampledFrames == 0) {
      if (mEnded && mStagedFrames == 0) {
        mDrained = true;
      } else if (paused != kAudioStatusOk) {
        break;
      } else if (used == 0 && mStagedFrames == sChunkFrames) {
        // The resampler neither takes nor gives: nothing more can come.
        return kAudioStatusUnspecified;
      }
    }
  }
  return paused;
}

}  // namespace AudioLayer
