#pragma once

#include "SL/Com/Kvac/compressor.h"
#include "SL/Com/Kvac/expander.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace VQ7Test {

// Codes one channel of an interleaved stream straight with the block codec:
// 16 frames per block, the last block completed with zeros, the carried
// value chained from block to block.
inline std::vector<unsigned char> EncodeChannel(std::vector<int16_t> const& interleaved,
                                                int channels, int channel, int bits) {
  size_t const frames = interleaved.size() / static_cast<size_t>(channels);
  size_t const blocks = (frames + 15) / 16;
  std::vector<unsigned char> coded(blocks * 2 * bits);
  SL::Private::compressor compressor;
  int prev = 0;
  for (size_t b = 0; b < blocks; ++b) {
    short block[16] = {0};
    for (size_t i = 0; i < 16 && b * 16 + i < frames; ++i)
      block[i] = interleaved[(b * 16 + i) * channels + channel];
    prev = compressor.compress(block, &coded[b * 2 * bits], prev, bits);
  }
  return coded;
}

// Decodes the first `frames` samples of one channel's coded bytes.
inline std::vector<int16_t> DecodeChannel(std::vector<unsigned char> coded, size_t frames,
                                          int bits) {
  std::vector<int16_t> samples;
  SL::Private::expander expander;
  int prev = 0;
  for (size_t at = 0; samples.size() < frames && at + 2 * bits <= coded.size(); at += 2 * bits) {
    short block[16];
    prev = expander.expand(&coded[at], block, prev, bits);
    for (int i = 0; i < 16 && samples.size() < frames; ++i) samples.push_back(block[i]);
  }
  return samples;
}

inline std::vector<int16_t> Interleave(std::vector<std::vector<int16_t> > const& channels) {
  std::vector<int16_t> out;
  for (size_t i = 0; i < channels[0].size(); ++i)
    for (auto const& channel : channels) out.push_back(channel[i]);
  return out;
}

// A deterministic test signal with steps, slopes and full-scale edges, so
// that every coding mode is met.
inline std::vector<int16_t> TestSignal(size_t frames, int channels) {
  std::vector<int16_t> out(frames * channels);
  uint32_t state = 12345;
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      state = state * 1103515245u + 12345u;
      long value;
      switch ((i / 700) % 4) {
        case 0:
          value = static_cast<long>((i * 37 + c * 1000) % 20000) - 10000;
          break;
        case 1:
          value = static_cast<long>(state >> 16) - 32768;
          break;
        case 2:
          value = (i % 2) ? 32767 : -32768;
          break;
        default:
          value = static_cast<long>((state >> 20) & 0xFF) - 128;
          break;
      }
      out[i * channels + c] = static_cast<int16_t>(value);
    }
  return out;
}

inline std::string Capture(std::string const& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

}  // namespace VQ7Test
