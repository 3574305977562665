#pragma once

// The block of the device's sample coding, and the pieces shared by its
// encoder and decoder: 32-bit wrap-around arithmetic, the byte layout of a
// block, and the header codes that select mode and shift.

#include <cstdint>
#include <cstring>

namespace SL {

// A block is 16 frames; each channel's 16 samples are coded apart into
// 2 x bits bytes, with 4 to 8 coded bits per sample.
constexpr int nKvacBlockFrames = 16;
constexpr long KvacBlockBytes(long bits) { return 2 * bits; }
constexpr bool IsKvacBits(long bits) { return bits >= 4 && bits <= 8; }

namespace Private {
namespace Kvac {

enum EMode { eModeA, eModeB, eModeC, eModeD, eModeE, eModeF, eModeG };

// The coding is defined on 32-bit two's-complement integers; sums of a
// caller's prev may wrap, so they are done on unsigned values.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Mean of two reconstructed neighbours, rounding towards minus infinity.
inline int32_t Mean(int32_t a, int32_t c) { return WrapAdd(a, c) >> 1; }

// -1 << q, without shifting a negative value.
inline int32_t MaskFrom(int q) { return static_cast<int32_t>(~0u << q); }

// Quantisation of a block: q = n - b + 4, M = -1 << q, R = 2^(q-1) (0 when
// q = 0). Headers the encoder never writes may give q < 0: then M = -1, R = 0
// and the decoder scales fields down.
struct SQuantum {
  int q;
  int32_t M;
  int32_t R;
};

inline SQuantum QuantumFor(int n, int bits) {
  const int q = n - bits + 4;
  if (q <= 0) return {q, -1, 0};
  return {q, MaskFrom(q), static_cast<int32_t>(1u << (q - 1))};
}

// The bit string of a half block lives in a 64-bit value, first bit at bit
// 63. In a 16-byte work area (the single-half operations use one) its 16-bit
// words sit at bytes 0, 4, 8 and 12 (half 0) or 2, 6, 10 and 14 (half 1, the
// caller passes the area + 2).
inline uint64_t LoadHalf(const unsigned char* work) {
  uint64_t h = 0;
  for (int i = 0; i < 4; ++i) {
    h = (h << 16) | (static_cast<uint64_t>(work[4 * i]) << 8) | work[4 * i + 1];
  }
  return h;
}

inline void StoreHalf(unsigned char* work, uint64_t h) {
  for (int i = 0; i < 4; ++i) {
    const unsigned word = static_cast<unsigned>(h >> (48 - 16 * i)) & 0xFFFFu;
    work[4 * i] = static_cast<unsigned char>(word >> 8);
    work[4 * i + 1] = static_cast<unsigned char>(word);
  }
}

// Stored block layout: the halves' bit strings interleaved as big-endian
// 16-bit words (half 0 first); with odd b the last byte of each half stands
// alone; with b = 4 the halves follow each other.
inline uint64_t LoadBigEndian64(const unsigned char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

inline void StoreBigEndian64(unsigned char* p, uint64_t v) {
  v = __builtin_bswap64(v);
  std::memcpy(p, &v, 8);
}

constexpr uint64_t nWord0 = 0xFFFF000000000000ull;
constexpr uint64_t nWord1 = 0x0000FFFF00000000ull;
constexpr uint64_t nWord2 = 0x00000000FFFF0000ull;
constexpr uint64_t nWord3 = 0x000000000000FFFFull;

// Two halves (bit strings at the top of 64 bits) to the 2*B stored bytes.
template <int B>
inline void StoreBlock(uint64_t h0, uint64_t h1, unsigned char* bytes) {
  if (B == 4) {
    StoreBigEndian64(bytes, (h0 & 0xFFFFFFFF00000000ull) | (h1 >> 32));
    return;
  }
  StoreBigEndian64(
      bytes, (h0 & nWord0) | ((h1 >> 16) & nWord1) | ((h0 >> 16) & nWord2) | ((h1 >> 32) & nWord3));
  if (B == 8) {
    StoreBigEndian64(bytes + 8, ((h0 << 32) & nWord0) | ((h1 << 16) & nWord1) |
                                    ((h0 << 16) & nWord2) | (h1 & nWord3));
  } else if (B == 5) {
    bytes[8] = static_cast<unsigned char>(h0 >> 24);
    bytes[9] = static_cast<unsigned char>(h1 >> 24);
  } else {
    bytes[8] = static_cast<unsigned char>(h0 >> 24);
    bytes[9] = static_cast<unsigned char>(h0 >> 16);
    bytes[10] = static_cast<unsigned char>(h1 >> 24);
    bytes[11] = static_cast<unsigned char>(h1 >> 16);
    if (B == 7) {
      bytes[12] = static_cast<unsigned char>(h0 >> 8);
      bytes[13] = static_cast<unsigned char>(h1 >> 8);
    }
  }
}

// The 2*B stored bytes to the two halves; bits past a half's 8*B are 0.
template <int B>
inline void LoadBlock(const unsigned char* bytes, uint64_t& h0, uint64_t& h1) {
  const uint64_t a = LoadBigEndian64(bytes);
  if (B == 4) {
    h0 = a & 0xFFFFFFFF00000000ull;
    h1 = a << 32;
    return;
  }
  h0 = (a & nWord0) | ((a << 16) & nWord1);
  h1 = ((a << 16) & nWord0) | ((a << 32) & nWord1);
  if (B == 8) {
    const uint64_t b = LoadBigEndian64(bytes + 8);
    h0 |= ((b >> 32) & nWord2) | ((b >> 16) & nWord3);
    h1 |= ((b >> 16) & nWord2) | (b & nWord3);
  } else if (B == 5) {
    h0 |= static_cast<uint64_t>(bytes[8]) << 24;
    h1 |= static_cast<uint64_t>(bytes[9]) << 24;
  } else {
    h0 |= (static_cast<uint64_t>(bytes[8]) << 24) | (static_cast<uint64_t>(bytes[9]) << 16);
    h1 |= (static_cast<uint64_t>(bytes[10]) << 24) | (static_cast<uint64_t>(bytes[11]) << 16);
    if (B == 7) {
      h0 |= static_cast<uint64_t>(bytes[12]) << 8;
      h1 |= static_cast<uint64_t>(bytes[13]) << 8;
    }
  }
}

// Header of one block: the codes of both halves and their common length.
struct SHeader {
  unsigned half0;
  unsigned half1;
  int length;
};

// Header the encoder writes for a mode and shift. Mode G is never chosen by
// the encoder but can be written, so that its decoding can be exercised.
inline SHeader EncodeHeader(EMode mode, int n, int bits) {
  const unsigned un = static_cast<unsigned>(n);
  if (bits == 4) {
    switch (mode) {
      case eModeA:
        return {7u, 6u, 3};
      case eModeB:
        return {15u, 15u, 4};
      case eModeC:
        return {un >> 2, un & 3u, 2};
      case eModeD:
        return n == 10 ? SHeader{15u, 14u, 4} : SHeader{7u, un - 4u, 3};
      case eModeE:
        return n == 8 ? SHeader{6u, 7u, 3} : SHeader{(un - 2u) >> 2, (un - 2u) & 3u, 2};
      case eModeF:
        return {6u, un, 3};
      case eModeG:
        return {14u, 14u + un, 4};
    }
  }
  switch (mode) {
    case eModeA:
      return {14u, 15u, 4};
    case eModeB:
      return {14u, un + 2u, 4};
    case eModeC:
      return {un >> 2, un & 3u, 2};
    case eModeD:
      if (n == 10) return {15u, 10u, 4};
      return n == 4 ? SHeader{6u, 7u, 3} : SHeader{7u, un - 5u, 3};
    case eModeE:
      return n == 8 ? SHeader{6u, 6u, 3} : SHeader{(un - 2u) >> 2, (un - 2u) & 3u, 2};
    case eModeF:
      return {6u, un - 1u, 3};
    case eModeG:
      return {15u, 11u + un, 4};
  }
  return {0u, 0u, 0};
}

// Mode and shift for the leading nibbles of the two halves. The code is a
// complete prefix code except for three pairs with b >= 5 (1111 followed by
// 1101, 1110 or 1111), which continue the G row as n = 2, 3 and 4.
struct SModeShift {
  EMode mode;
  int n;
};

inline SModeShift DecodeHeader(unsigned nibble0, unsigned nibble1, int bits) {
  const unsigned top0 = nibble0 >> 2;
  const unsigned top1 = nibble1 >> 2;
  if (top0 == 0) return {eModeE, 2 + static_cast<int>(top1)};
  if (top0 == 1) {
    return top1 < 2 ? SModeShift{eModeE, 6 + static_cast<int>(top1)}
                    : SModeShift{eModeC, 4 + static_cast<int>(top1)};
  }
  if (top0 == 2) return {eModeC, 8 + static_cast<int>(top1)};
  const int three1 = static_cast<int>(nibble1 >> 1);
  if (bits == 4) {
    if ((nibble0 & 2u) == 0)
      return three1 == 7 ? SModeShift{eModeE, 8} : SModeShift{eModeF, three1};
    if (three1 <= 5) return {eModeD, three1 + 4};
    if (three1 == 6) return {eModeA, 13};
    if (nibble0 == 15u) return nibble1 == 15u ? SModeShift{eModeB, 12} : SModeShift{eModeD, 10};
    return {eModeG, static_cast<int>(nibble1) - 14};
  }
  if ((nibble0 & 2u) == 0) {
    if (three1 <= 5) return {eModeF, three1 + 1};
    return three1 == 6 ? SModeShift{eModeE, 8} : SModeShift{eModeD, 4};
  }
  if (three1 <= 4) return {eModeD, three1 + 5};
  if (nibble0 == 14u) {
    return nibble1 == 15u ? SModeShift{eModeA, 13}
                          : SModeShift{eModeB, static_cast<int>(nibble1) - 2};
  }
  return nibble1 == 10u ? SModeShift{eModeD, 10}
                        : SModeShift{eModeG, static_cast<int>(nibble1) - 11};
}

}  // namespace Kvac
}  // namespace Private
}  // namespace SL
