#include "Platform/Audio/Private/CFormatConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace AudioLayer {

namespace {

// libsamplerate's range of ratios.
double const kLowestRatio = 1.0 / 256.0;
double const kHighestRatio = 256.0;

// Source frames a new resampler is given ahead of where it goes on (more
// when it lowers the rate, as its filter reaches further): about its
// filter's reach, so the first frame heard from it is a settled one.
double const kLeadInFrames = 128.0;

bool IsRatio(double ratio) { return ratio >= kLowestRatio && ratio <= kHighestRatio; }

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
  std::unique_ptr<CFormatConverter> converter(new CFormatConverter(source, destination, from, to));
  *status = converter->Open(destination, to);
  if (*status != kAudioStatusOk) {
    return nullptr;
  }
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
      mProducerEnded(false),
      mResampler(nullptr),
      mRatio(1.0),
      mStagedFrames(0),
      mResampledStart(0),
      mResampledFrames(0),
      mDrained(false),
      mGenerated(0),
      mLeadIn(0),
      mSkipLeft(0),
      mKeptCapacity(0),
      mTaken(0),
      mAgainStart(0),
      mAgainFrames(0) {}

CFormatConverter::~CFormatConverter() {
  if (mResampler != nullptr) {
    src_delete(mResampler);
  }
}

AudioStatus CFormatConverter::Open(AudioStreamBasicDescription const& destination,
                                   CPcmEncoding const& to) {
  double const ratio = destination.mSampleRate / mSource.mSampleRate;
  if (!IsRatio(ratio)) {
    return kAudioStatusUnsupportedFormat;
  }
  SRC_STATE* resampler = nullptr;
  std::vector<float> staged;
  std::vector<float> resampled;
  if (ratio != 1.0) {
    int error = 0;
    resampler =
        src_new(SRC_SINC_MEDIUM_QUALITY, static_cast<int>(destination.mChannelsPerFrame), &error);
    if (resampler == nullptr) {
      return kAudioStatusUnspecified;
    }
    staged.resize(sChunkFrames * destination.mChannelsPerFrame);
    resampled.resize(sChunkFrames * destination.mChannelsPerFrame);
  }
  // Room for every source frame a resampler may hold (staged, inside it, and
  // behind its pending output), and for a lead-in before them.
  double const slowest = std::min(ratio, 1.0);
  std::size_t const keep =
      4 * sChunkFrames + static_cast<std::size_t>(std::ceil(2 * sChunkFrames / slowest)) + 1024;
  std::vector<unsigned char> kept(keep * mSource.mBytesPerFrame);

  if (mResampler != nullptr) {
    src_delete(mResampler);
  }
  mResampler = resampler;
  mRatio = ratio;
  mDestination = destination;
  mTo = to;
  mSameEncoding = mFrom == to;
  mEnded = false;
  mStaged.swap(staged);
  mStagedFrames = 0;
  mResampled.swap(resampled);
  mResampledStart = 0;
  mResampledFrames = 0;
  mDrained = false;
  mGenerated = 0;
  mLeadIn = 0;
  mSkipLeft = 0;
  mKept.swap(kept);
  mKeptCapacity = keep;
  mTaken = 0;
  return kAudioStatusOk;
}

double CFormatConverter::Reached() const {
  if (mResampler == nullptr) {
    return static_cast<double>(mTaken);  // every frame taken has been given out
  }
  std::uint64_t const given = mGenerated - mResampledFrames;
  return static_cast<double>(std::max(given, mLeadIn)) / mRatio;
}

AudioStatus CFormatConverter::SetDestination(AudioStreamBasicDescription const& destination) {
  CPcmEncoding to;
  double const ratio = destination.mSampleRate / mSource.mSampleRate;
  if (!DescribePcm(destination, to) || !IsRatio(ratio)) {
    return kAudioStatusUnsupportedFormat;
  }
  double const reached = Reached();
  std::uint64_t const kept = std::min<std::uint64_t>(mTaken, mKeptCapacity);
  std::uint64_t const first =
      std::min(mTaken, static_cast<std::uint64_t>(std::max(0.0, std::floor(reached))));
  std::uint64_t const unheard = std::min(mTaken - first, kept);
  std::uint64_t lead = 0;
  if (ratio != 1.0) {
    lead = static_cast<std::uint64_t>(std::ceil(kLeadInFrames / std::min(ratio, 1.0)));
    lead = std::min({lead, first, kept - unheard});
  }
  std::size_t const frameBytes = mSource.mBytesPerFrame;
  std::size_t const frames = static_cast<std::size_t>(unheard + lead);
  std::vector<unsigned char> again((frames + mAgainFrames) * frameBytes);
  for (std::size_t i = 0; i < frames; ++i) {
    std::size_t const at = static_cast<std::size_t>((mTaken - frames + i) % mKeptCapacity);
    std::memcpy(again.data() + i * frameBytes, mKept.data() + at * frameBytes, frameBytes);
  }
  if (mAgainFrames > 0) {
    std::memcpy(again.data() + frames * frameBytes, mAgain.data() + mAgainStart * frameBytes,
                mAgainFrames * frameBytes);
  }
  // What the new resampler makes of the lead-in, and of the part of a frame
  // already heard, is not given out.
  double const skip = (reached - static_cast<double>(first - lead)) * ratio;

  AudioStatus const status = Open(destination, to);
  if (status != kAudioStatusOk) {
    return status;
  }
  mAgainFrames += frames;
  mAgainStart = 0;
  mAgain.swap(again);
  if (mResampler != nullptr) {
    mLeadIn = static_cast<std::uint64_t>(std::llround(std::max(0.0, skip)));
    mSkipLeft = mLeadIn;
  }
  return kAudioStatusOk;
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

void CFormatConverter::Keep(unsigned char const* in, std::size_t frames) {
  std::size_t const frameBytes = mSource.mBytesPerFrame;
  if (frames == 0) {
    return;
  }
  if (frames > mKeptCapacity) {
    in += (frames - mKeptCapacity) * frameBytes;
    mTaken += frames - mKeptCapacity;
    frames = mKeptCapacity;
  }
  std::size_t const at = static_cast<std::size_t>(mTaken % mKeptCapacity);
  std::size_t const first = std::min(frames, mKeptCapacity - at);
  std::memcpy(mKept.data() + at * frameBytes, in, first * frameBytes);
  std::memcpy(mKept.data(), in + first * frameBytes, (frames - first) * frameBytes);
  mTaken += frames;
}

AudioStatus CFormatConverter::Ask(AudioConverterRef self, AudioConverterComplexInputDataProc proc,
                                  void* user, std::uint32_t limit, unsigned char const** in,
                                  std::uint32_t* given) {
  if (mAgainFrames > 0) {
    std::uint32_t const n = static_cast<std::uint32_t>(std::min<std::size_t>(limit, mAgainFrames));
    *in = mAgain.data() + mAgainStart * mSource.mBytesPerFrame;
    *given = n;
    mAgainStart += n;
    mAgainFrames -= n;
    Keep(*in, n);
    return kAudioStatusOk;
  }
  if (mProducerEnded) {
    mEnded = true;
    return kAudioStatusOk;
  }
  std::uint32_t asked = limit;
  AudioBufferList list = {1, {{mSource.mChannelsPerFrame, 0, nullptr}}};
  AudioStatus const status = proc(self, &asked, &list, nullptr, user);
  if (status != kAudioStatusOk) {
    return status;
  }
  if (asked == 0) {
    mEnded = true;
    mProducerEnded = true;
    return kAudioStatusOk;
  }
  if (list.mNumberBuffers < 1 || list.mBuffers[0].mData == nullptr) {
    return kAudioStatusBadParameter;
  }
  // Never more than asked for, nor than the buffer holds.
  *in = static_cast<unsigned char const*>(list.mBuffers[0].mData);
  *given = std::min({asked, limit, list.mBuffers[0].mDataByteSize / mSource.mBytesPerFrame});
  Keep(*in, *given);
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
  // About what one chunk of output needs: the resampler is given no more,
  // so it holds little that a new destination would have to take again.
  std::size_t const needed =
      std::min(sChunkFrames, static_cast<std::size_t>(std::ceil(sChunkFrames / mRatio)) + 1);
  AudioStatus paused = kAudioStatusOk;  // the producer's "nothing now"
  while (*produced < want) {
    if (mResampledFrames > 0 && mSkipLeft > 0) {
      std::size_t const n = std::min<std::size_t>(mResampledFrames, mSkipLeft);
      mResampledStart += n;
      mResampledFrames -= n;
      mSkipLeft -= n;
      continue;
    }
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
    // At the end it must see all there is.
    data.input_frames = static_cast<long>(mEnded ? mStagedFrames : std::min(mStagedFrames, needed));
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
    mGenerated += mResampledFrames;
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
