#include "Platform/Audio/Private/PcmEncoding.h"

#include <cmath>
#include <cstring>

namespace AudioLayer {

namespace {

// A stored word of B bytes in either order, as an unsigned value.
template <std::uint32_t B>
std::uint64_t LoadWord(unsigned char const* p, bool bigEndian) {
  std::uint64_t v = 0;
  for (std::uint32_t i = 0; i < B; ++i) {
    std::uint32_t const shift = 8 * (bigEndian ? B - 1 - i : i);
    v |= static_cast<std::uint64_t>(p[i]) << shift;
  }
  return v;
}

template <std::uint32_t B>
void StoreWord(unsigned char* p, std::uint64_t v, bool bigEndian) {
  for (std::uint32_t i = 0; i < B; ++i) {
    std::uint32_t const shift = 8 * (bigEndian ? B - 1 - i : i);
    p[i] = static_cast<unsigned char>(v >> shift);
  }
}

// Two's complement value of the low `bits` bits of a word.
std::int64_t SignExtend(std::uint64_t word, std::uint32_t bits) {
  std::uint64_t const sign = std::uint64_t(1) << (bits - 1);
  std::uint64_t const mask = (sign << 1) - 1;
  word &= mask;
  return (word & sign) ? static_cast<std::int64_t>(word | ~mask) : static_cast<std::int64_t>(word);
}

// Rounds and clips in double before converting, so no value is out of the
// integer's range when converted; NaN becomes 0.
std::int64_t Quantise(float value, double scale, std::int64_t low, std::int64_t high) {
  double const v = std::nearbyint(static_cast<double>(value) * scale);
  if (!(v == v)) {
    return 0;
  }
  if (v <= static_cast<double>(low)) {
    return low;
  }
  if (v >= static_cast<double>(high)) {
    return high;
  }
  return static_cast<std::int64_t>(v);
}

float Decode(unsigned char const* p, CPcmEncoding const& e) {
  switch (e.mKind) {
    case CPcmEncoding::UInt8:
      return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
    case CPcmEncoding::Int16:
      return static_cast<float>(SignExtend(LoadWord<2>(p, e.mBigEndian), 16)) / 32768.0f;
    case CPcmEncoding::Int24:
      return static_cast<float>(SignExtend(LoadWord<3>(p, e.mBigEndian), 24)) / 8388608.0f;
    case CPcmEncoding::Int32:
      return static_cast<float>(static_cast<double>(SignExtend(LoadWord<4>(p, e.mBigEndian), 32)) /
                                2147483648.0);
    case CPcmEncoding::Float32: {
      std::uint32_t const w = static_cast<std::uint32_t>(LoadWord<4>(p, e.mBigEndian));
      float f;
      std::memcpy(&f, &w, sizeof f);
      return f;
    }
    case CPcmEncoding::Float64: {
      std::uint64_t const w = LoadWord<8>(p, e.mBigEndian);
      double d;
      std::memcpy(&d, &w, sizeof d);
      return static_cast<float>(d);
    }
  }
  return 0.0f;
}

void Encode(unsigned char* p, float value, CPcmEncoding const& e) {
  switch (e.mKind) {
    case CPcmEncoding::UInt8:
      p[0] = static_cast<unsigned char>(Quantise(value, 128.0, -128, 127) + 128);
      return;
    case CPcmEncoding::Int16:
      StoreWord<2>(p, static_cast<std::uint64_t>(Quantise(value, 32768.0, -32768, 32767)),
                   e.mBigEndian);
      return;
    case CPcmEncoding::Int24:
      StoreWord<3>(p, static_cast<std::uint64_t>(Quantise(value, 8388608.0, -8388608, 8388607)),
                   e.mBigEndian);
      return;
    case CPcmEncoding::Int32:
      StoreWord<4>(p,
                   static_cast<std::uint64_t>(
                       Quantise(value, 2147483648.0, -2147483647 - 1LL, 2147483647LL)),
                   e.mBigEndian);
      return;
    case CPcmEncoding::Float32: {
      std::uint32_t w;
      std::memcpy(&w, &value, sizeof w);
      StoreWord<4>(p, w, e.mBigEndian);
      return;
    }
    case CPcmEncoding::Float64: {
      double const d = value;
      std::uint64_t w;
      std::memcpy(&w, &d, sizeof w);
      StoreWord<8>(p, w, e.mBigEndian);
      return;
    }
  }
}

// The source channel that feeds output channel c, or -1 for silence.
long SourceChannel(std::uint32_t c, std::uint32_t from) {
  if (from == 1) {
    return 0;
  }
  return c < from ? static_cast<long>(c) : -1;
}

}  // namespace

bool DescribePcm(AudioStreamBasicDescription const& f, CPcmEncoding& e) {
  if (f.mFormatID != kAudioFormatLinearPcm || f.mFramesPerPacket != 1 ||
      (f.mFormatFlags & kAudioFormatFlagIsNonInterleaved) != 0 || f.mChannelsPerFrame == 0 ||
      f.mChannelsPerFrame > kAudioMaxChannels || !(f.mSampleRate > 0.0) ||
      !std::isfinite(f.mSampleRate)) {
    return false;
  }
  bool const isFloat = (f.mFormatFlags & kAudioFormatFlagIsFloat) != 0;
  e.mBigEndian = (f.mFormatFlags & kAudioFormatFlagIsBigEndian) != 0;
  switch (f.mBitsPerChannel) {
    case 8:
      e.mKind = CPcmEncoding::UInt8;
      break;
    case 16:
      e.mKind = CPcmEncoding::Int16;
      break;
    case 24:
      e.mKind = CPcmEncoding::Int24;
      break;
    case 32:
      e.mKind = isFloat ? CPcmEncoding::Float32 : CPcmEncoding::Int32;
      break;
    case 64:
      e.mKind = CPcmEncoding::Float64;
      break;
    default:
      return false;
  }
  if (isFloat != (e.mKind == CPcmEncoding::Float32 || e.mKind == CPcmEncoding::Float64)) {
    return false;
  }
  // 8-bit samples are signed only when flagged so; those we do not take.
  if (e.mKind == CPcmEncoding::UInt8 && (f.mFormatFlags & kAudioFormatFlagIsSignedInteger) != 0) {
    return false;
  }
  e.mBytes = f.mBitsPerChannel / 8;
  std::uint64_t const frameBytes = static_cast<std::uint64_t>(e.mBytes) * f.mChannelsPerFrame;
  return f.mBytesPerFrame == frameBytes && f.mBytesPerPacket == frameBytes;
}

void DecodeFrames(unsigned char const* in, CPcmEncoding const& e, std::uint32_t from, float* out,
                  std::uint32_t to, std::size_t frames) {
  std::size_t const inStep = static_cast<std::size_t>(from) * e.mBytes;
  for (std::size_t f = 0; f < frames; ++f, in += inStep, out += to) {
    for (std::uint32_t c = 0; c < to; ++c) {
      long const s = SourceChannel(c, from);
      out[c] = s < 0 ? 0.0f : Decode(in + static_cast<std::size_t>(s) * e.mBytes, e);
    }
  }
}

void EncodeFrames(float const* in, std::uint32_t channels, unsigned char* out,
                  CPcmEncoding const& e, std::size_t frames) {
  std::size_t const samples = frames * channels;
  for (std::size_t i = 0; i < samples; ++i, out += e.mBytes) {
    Encode(out, in[i], e);
  }
}

void MapFrames(unsigned char const* in, std::uint32_t from, unsigned char* out, std::uint32_t to,
               CPcmEncoding const& e, std::size_t frames) {
  if (from == to) {
    std::memcpy(out, in, frames * from * e.mBytes);
    return;
  }
  std::size_t const inStep = static_cast<std::size_t>(from) * e.mBytes;
  for (std::size_t f = 0; f < frames; ++f, in += inStep) {
    for (std::uint32_t c = 0; c < to; ++c, out += e.mBytes) {
      long const s = SourceChannel(c, from);
      if (s < 0) {
        FillSilence(out, e, 1);
      } else {
        std::memcpy(out, in + static_cast<std::size_t>(s) * e.mBytes, e.mBytes);
      }
    }
  }
}

void FillSilence(unsigned char* out, CPcmEncoding const& e, std::size_t samples) {
  std::memset(out, e.mKind == CPcmEncoding::UInt8 ? 0x80 : 0, samples * e.mBytes);
}

}  // namespace AudioLayer
