#pragma once

#include "Platform/Audio/AudioHardware.h"

#include <cstddef>
#include <cstdint>

namespace AudioLayer {

// The most channels a stream may have.
std::uint32_t const kAudioMaxChannels = 64;

// How one sample of a linear PCM stream is stored.
struct CPcmEncoding {
  enum EKind { UInt8, Int16, Int24, Int32, Float32, Float64 };
  EKind mKind;
  std::uint32_t mBytes;  // per sample
  bool mBigEndian;

  bool operator==(CPcmEncoding const& other) const {
    return mKind == other.mKind && (mBytes == 1 || mBigEndian == other.mBigEndian);
  }
};

// The encoding of an interleaved, packed linear PCM description with one
// frame per packet and 1 to kAudioMaxChannels channels; false for anything else.
bool DescribePcm(AudioStreamBasicDescription const& format, CPcmEncoding& encoding);

// Decodes frames of `from` channels into floats of `to` channels: one source
// channel feeds them all, extra source channels are dropped, missing ones
// are 0. Integers scale by 2^-(bits-1), unsigned 8-bit around 128.
void DecodeFrames(unsigned char const* in, CPcmEncoding const& encoding, std::uint32_t from,
                  float* out, std::uint32_t to, std::size_t frames);

// Encodes floats of `channels` channels; integers are rounded and clipped.
void EncodeFrames(float const* in, std::uint32_t channels, unsigned char* out,
                  CPcmEncoding const& encoding, std::size_t frames);

// Copies frames between two streams of one encoding, channel by channel as
// DecodeFrames maps them, without touching a sample's bits.
void MapFrames(unsigned char const* in, std::uint32_t from, unsigned char* out, std::uint32_t to,
               CPcmEncoding const& encoding, std::size_t frames);

// Fills frames with the encoding's silence (128 for unsigned 8-bit).
void FillSilence(unsigned char* out, CPcmEncoding const& encoding, std::size_t samples);

}  // namespace AudioLayer
