#include "Platform/Audio/Private/CAlsaDriver.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <mutex>
#include <thread>

namespace AudioLayer {

namespace {

void Quiet(char const*, int, char const*, int, char const*, ...) {}

// ALSA prints its errors to stderr unless told otherwise; ours go through
// statuses.
void SilenceAlsa() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&Quiet); });
}

// Opens "default" under the given configuration text (the system's when
// empty). The configuration tree must outlive the PCM.
int OpenPcm(std::string const& text, bool isInput, int mode, snd_pcm_t** pcm,
            snd_config_t** configuration) {
  SilenceAlsa();
  *pcm = nullptr;
  *configuration = nullptr;
  snd_pcm_stream_t const stream = isInput ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK;
  if (text.empty()) {
    return snd_pcm_open(pcm, "default", stream, mode);
  }
  snd_config_t* top = nullptr;
  int result = snd_config_top(&top);
  if (result < 0) {
    return result;
  }
  snd_input_t* input = nullptr;
  result = snd_input_buffer_open(&input, text.data(), static_cast<ssize_t>(text.size()));
  if (result >= 0) {
    result = snd_config_load(top, input);
    snd_input_close(input);
  }
  if (result >= 0) {
    result = snd_pcm_open_lconf(pcm, "default", stream, mode, top);
  }
  if (result < 0) {
    snd_config_delete(top);
    return result;
  }
  *configuration = top;
  return 0;
}

void ClosePcm(snd_pcm_t*& pcm, snd_config_t*& configuration) {
  if (pcm != nullptr) {
    snd_pcm_close(pcm);
    pcm = nullptr;
  }
  if (configuration != nullptr) {
    snd_config_delete(configuration);
    configuration = nullptr;
  }
}

snd_pcm_format_t const kFloatFormat =
    __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? SND_PCM_FORMAT_FLOAT_BE : SND_PCM_FORMAT_FLOAT_LE;
unsigned int const kChannels = 2;

// Float, interleaved, 2 channels; the rate given (0: 48 kHz where the device
// takes it, else 44.1 kHz, else its nearest); a period of about `period`
// frames and four of them buffered.
int Configure(snd_pcm_t* pcm, unsigned int* rate, snd_pcm_uframes_t* period,
              snd_pcm_uframes_t* buffer) {
  snd_pcm_hw_params_t* hw = nullptr;
  snd_pcm_hw_params_alloca(&hw);
  int result = snd_pcm_hw_params_any(pcm, hw);
  if (result >= 0) result = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED);
  if (result >= 0) result = snd_pcm_hw_params_set_format(pcm, hw, kFloatFormat);
  if (result >= 0) result = snd_pcm_hw_params_set_channels(pcm, hw, kChannels);
  if (result < 0) {
    return result;
  }
  if (*rate != 0) {
    result = snd_pcm_hw_params_set_rate(pcm, hw, *rate, 0);
  } else if (snd_pcm_hw_params_test_rate(pcm, hw, 48000, 0) == 0) {
    *rate = 48000;
    result = snd_pcm_hw_params_set_rate(pcm, hw, *rate, 0);
  } else if (snd_pcm_hw_params_test_rate(pcm, hw, 44100, 0) == 0) {
    *rate = 44100;
    result = snd_pcm_hw_params_set_rate(pcm, hw, *rate, 0);
  } else {
    *rate = 48000;
    result = snd_pcm_hw_params_set_rate_near(pcm, hw, rate, nullptr);
  }
  if (result < 0) {
    return result;
  }
  int direction = 0;
  result = snd_pcm_hw_params_set_period_size_near(pcm, hw, period, &direction);
  if (result >= 0) {
    *buffer = *period * 4;
    result = snd_pcm_hw_params_set_buffer_size_near(pcm, hw, buffer);
  }
  if (result >= 0) result = snd_pcm_hw_params(pcm, hw);
  if (result >= 0) result = snd_pcm_hw_params_get_period_size(hw, period, &direction);
  if (result >= 0) result = snd_pcm_hw_params_get_buffer_size(hw, buffer);
  if (result < 0) {
    return result;
  }
  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  result = snd_pcm_sw_params_current(pcm, sw);
  // Playback starts with the first period written, not when the buffer is full.
  if (result >= 0) result = snd_pcm_sw_params_set_start_threshold(pcm, sw, *period);
  if (result >= 0) result = snd_pcm_sw_params_set_avail_min(pcm, sw, *period);
  if (result >= 0) result = snd_pcm_sw_params(pcm, sw);
  return result;
}

AudioStreamBasicDescription FloatFormat(double rate) {
  AudioStreamBasicDescription f;
  std::memset(&f, 0, sizeof f);
  f.mSampleRate = rate;
  f.mFormatID = kAudioFormatLinearPcm;
  f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked |
                   (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? kAudioFormatFlagIsBigEndian : 0);
  f.mBytesPerPacket = 4 * kChannels;
  f.mFramesPerPacket = 1;
  f.mBytesPerFrame = 4 * kChannels;
  f.mChannelsPerFrame = kChannels;
  f.mBitsPerChannel = 32;
  return f;
}

snd_pcm_uframes_t const kPeriodFrames = 512;

}  // namespace

CAlsaDriver::CAlsaDriver(std::string const& configuration, bool isInput)
    : mConfigurationText(configuration),
      mIsInput(isInput),
      mPcm(nullptr),
      mConfiguration(nullptr),
      mBytesPerFrame(0),
      mRate(0.0),
      mBufferSeconds(0.0),
      mSecondsMoved(0.0),
      mAlive(true) {}

CAlsaDriver::~CAlsaDriver() { ClosePcm(mPcm, mConfiguration); }

bool CAlsaDriver::Probe(std::string const& configuration, bool isInput,
                        AudioStreamBasicDescription* format, std::uint32_t* bufferFrames) {
  snd_pcm_t* pcm = nullptr;
  snd_config_t* tree = nullptr;
  // Non-blocking, so a device held by another program does not hold us.
  if (OpenPcm(configuration, isInput, SND_PCM_NONBLOCK, &pcm, &tree) < 0) {
    return false;
  }
  unsigned int rate = 0;
  snd_pcm_uframes_t period = kPeriodFrames;
  snd_pcm_uframes_t buffer = 0;
  bool const usable = Configure(pcm, &rate, &period, &buffer) >= 0 && period > 0;
  ClosePcm(pcm, tree);
  if (usable) {
    *format = FloatFormat(rate);
    *bufferFrames = static_cast<std::uint32_t>(period);
  }
  return usable;
}

AudioStatus CAlsaDriver::Open(AudioStreamBasicDescription const& format,
                              std::uint32_t bufferFrames) {
  ClosePcm(mPcm, mConfiguration);
  if (OpenPcm(mConfigurationText, mIsInput, 0, &mPcm, &mConfiguration) < 0) {
    return kAudioStatusStartFailed;
  }
  unsigned int rate = static_cast<unsigned int>(format.mSampleRate);
  snd_pcm_uframes_t period = bufferFrames;
  snd_pcm_uframes_t buffer = 0;
  if (Configure(mPcm, &rate, &period, &buffer) < 0 ||
      static_cast<double>(rate) != format.mSampleRate) {
    ClosePcm(mPcm, mConfiguration);
    return kAudioStatusStartFailed;
  }
  mBytesPerFrame = format.mBytesPerFrame;
  mRate = format.mSampleRate;
  mBufferSeconds = static_cast<double>(buffer) / mRate;
  mStart = std::chrono::steady_clock::now();
  mSecondsMoved = 0.0;
  mAlive.store(true, std::memory_order_relaxed);
  return kAudioStatusOk;
}

void CAlsaDriver::SetFormat(AudioStreamBasicDescription const&, std::uint32_t) {}

void CAlsaDriver::Fail() {
  ClosePcm(mPcm, mConfiguration);
  mAlive.store(false, std::memory_order_relaxed);
}

void CAlsaDriver::KeepTime(std::uint32_t frames) {
  mSecondsMoved += static_cast<double>(frames) / mRate;
  // Never more than one buffer ahead of the clock: real devices block well
  // before that, so this only holds back a PCM that does not block, or one
  // that has failed.
  double const ahead = mSecondsMoved - mBufferSeconds;
  auto const due = mStart + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                std::chrono::duration<double>(ahead));
  if (std::chrono::steady_clock::now() < due) {
    std::this_thread::sleep_until(due);
  }
}

void CAlsaDriver::WaitForCycle(void* data, std::uint32_t bytes) {
  if (!mIsInput || mBytesPerFrame == 0) {
    return;
  }
  std::uint32_t const frames = bytes / mBytesPerFrame;
  unsigned char* p = static_cast<unsigned char*>(data);
  snd_pcm_uframes_t left = frames;
  while (left > 0 && mPcm != nullptr) {
    snd_pcm_sframes_t const got = snd_pcm_readi(mPcm, p, left);
    if (got < 0) {
      // Capture starts again by itself with the next read.
      if (snd_pcm_recover(mPcm, static_cast<int>(got), 1) < 0) {
        Fail();
      }
      continue;
    }
    p += static_cast<std::size_t>(got) * mBytesPerFrame;
    left -= static_cast<snd_pcm_uframes_t>(got);
  }
  if (left > 0) {
    std::memset(p, 0, static_cast<std::size_t>(left) * mBytesPerFrame);
  }
  KeepTime(frames);
}

void CAlsaDriver::FinishCycle(void const* data, std::uint32_t bytes) {
  if (mIsInput || mBytesPerFrame == 0) {
    return;
  }
  std::uint32_t const frames = bytes / mBytesPerFrame;
  unsigned char const* p = static_cast<unsigned char const*>(data);
  snd_pcm_uframes_t left = frames;
  while (left > 0 && mPcm != nullptr) {
    snd_pcm_sframes_t const put = snd_pcm_writei(mPcm, p, left);
    if (put < 0) {
      // An underrun (or a resume after suspend) is recovered; the rest is failure.
      if (snd_pcm_recover(mPcm, static_cast<int>(put), 1) < 0) {
        Fail();
      }
      continue;
    }
    p += static_cast<std::size_t>(put) * mBytesPerFrame;
    left -= static_cast<snd_pcm_uframes_t>(put);
  }
  KeepTime(frames);
}

void CAlsaDriver::Close(bool drain) {
  if (mPcm != nullptr) {
    if (drain && !mIsInput) {
      snd_pcm_drain(mPcm);
    } else {
      snd_pcm_drop(mPcm);
    }
  }
  ClosePcm(mPcm, mConfiguration);
}

}  // namespace AudioLayer
