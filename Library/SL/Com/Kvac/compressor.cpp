#include "SL/Com/Kvac/compressor.h"

#include "SL/Com/Kvac/KvacBlock.h"

namespace SL {
namespace Private {

using namespace Kvac;

namespace {

inline int32_t Quantise(int32_t x, const SQuantum& k) { return (x & k.M) | k.R; }

inline int32_t Abso(int32_t x) { return compressor::abso(x); }

struct SAccumulators {
  int32_t peak7 = 0;
  int32_t peak3 = 0;
  int32_t peak15 = 0;
  int32_t deviation3 = 0;
  int32_t deviation15 = 0;
  int32_t deviationEven = 0;
};

inline void Analyse(const short* s, int32_t p, SAccumulators& a) {
  const int32_t x0 = s[0], x1 = s[1], x2 = s[2], x3 = s[3];
  const int32_t x4 = s[4], x5 = s[5], x6 = s[6], x7 = s[7];
  a.peak7 |= Abso(x7);
  a.peak3 |= Abso(x3);
  a.peak15 |= Abso(x1) | Abso(x5);
  a.deviation3 |= Abso(x3 - Mean(x7, p));
  a.deviation15 |= Abso(x1 - Mean(x3, p)) | Abso(x5 - Mean(x7, x3));
  a.deviationEven |= Abso(x0 - Mean(p, x1)) | Abso(x2 - Mean(x3, x1)) | Abso(x4 - Mean(x3, x5)) |
                     Abso(x6 - Mean(x7, x5));
}

// Residual of x against the mean of its neighbours a and c for a field whose
// sign bit is s. Folds reconstructions that would leave the 16-bit range and
// saturates residuals that do not fit.
inline int32_t Residual(int32_t x, int32_t a, int32_t c, int s, const SQuantum& k) {
  const int32_t m = Mean(a, c);
  const int32_t d = x - m;
  const int32_t limit = static_cast<int32_t>(1u << s);
  if (d < -limit) return (-limit & k.M) | k.R;
  if (d >= limit) return ((limit - 1) & k.M) | k.R;
  int32_t r = (d & k.M) | k.R;
  const int32_t y = m + r;
  if (y > 32767 || y < -32768) {
    r = (y ^ (k.M & 0xFFFF)) - m;
  } else if (y == -32768 && (a & c & 1)) {
    r += 2 * k.R;
  }
  return r;
}

// Collects fields most significant first.
struct SBitString {
  uint64_t bits = 0;
  template <int W>
  void Put(int32_t value, int shift) {
    bits = (bits << W) | ((static_cast<uint32_t>(value) >> shift) & ((1u << W) - 1u));
  }
};

// The half's bit string at the top of 64 bits, header bits left clear.
template <int B>
inline void StorePacked(uint64_t& half, const SBitString& fields) {
  half = fields.bits << (64 - 8 * B);
}

// Mode A: no prediction; fine fields keep one bit more than coarse ones.
template <int B>
int32_t PackA(const short* s, uint64_t& half, const SQuantum& k) {
  const int32_t fineMask = MaskFrom(k.q - 1);
  const int32_t fineRound = k.R >> 1;
  SBitString out;
  int32_t last = 0;
  for (int i = 7; i >= 0; --i) {
    const bool fine = B == 4 ? (i != 5 && i != 3 && i != 1) : (i & 1) != 0;
    const int32_t x = s[i];
    if (fine) {
      const int32_t v = (x & fineMask) | fineRound;
      out.Put<B>(v, k.q - 1);
      if (i == 7) last = v;
    } else {
      out.Put<B - 1>(x & k.M, k.q);
    }
  }
  StorePacked<B>(half, out);
  return last;
}

// Mode B: odd samples direct, even ones against their neighbours.
template <int B>
int32_t PackB(const short* s, uint64_t& half, int32_t p, const SQuantum& k) {
  const int32_t q7 = Quantise(s[7], k), q5 = Quantise(s[5], k);
  const int32_t q3 = Quantise(s[3], k), q1 = Quantise(s[1], k);
  SBitString out;
  const int32_t r0 = Residual(s[0], p, q1, k.q + B - 2, k);
  const int32_t r2 = Residual(s[2], q1, q3, k.q + B - 2, k);
  const int32_t r4 = Residual(s[4], q3, q5, k.q + B - 2, k);
  const int32_t r6 = Residual(s[6], q5, q7, k.q + B - 2, k);
  out.Put<B>(q7, k.q);
  out.Put<B - 1>(r6, k.q);
  out.Put<B>(q5, k.q);
  out.Put<B - 1>(r4, k.q);
  out.Put<B>(q3, k.q);
  out.Put<B - 1>(r2, k.q);
  out.Put<B>(q1, k.q);
  out.Put<B - 1>(r0, k.q);
  StorePacked<B>(half, out);
  return q7;
}

// Modes C to G: x7 direct, x3 direct (C, D with n = 10) or against p and x7,
// x1 and x5 against x3's neighbours, even samples against theirs.
template <int B, int W7, int W3, bool X3Direct, int W15, int WE>
int32_t PackPredicted(const short* s, uint64_t& half, int32_t p, const SQuantum& k) {
  const int32_t y7 = Quantise(s[7], k);
  const int32_t r3 = X3Direct ? Quantise(s[3], k) : Residual(s[3], p, y7, k.q + W3 - 1, k);
  const int32_t y3 = X3Direct ? r3 : Mean(p, y7) + r3;
  const int32_t r1 = Residual(s[1], p, y3, k.q + W15 - 1, k);
  const int32_t y1 = Mean(p, y3) + r1;
  const int32_t r5 = Residual(s[5], y3, y7, k.q + W15 - 1, k);
  const int32_t y5 = Mean(y3, y7) + r5;
  const int32_t r0 = Residual(s[0], p, y1, k.q + WE - 1, k);
  const int32_t r2 = Residual(s[2], y1, y3, k.q + WE - 1, k);
  const int32_t r4 = Residual(s[4], y3, y5, k.q + WE - 1, k);
  const int32_t r6 = Residual(s[6], y5, y7, k.q + WE - 1, k);
  SBitString out;
  out.Put<W7>(y7, k.q);
  out.Put<WE>(r6, k.q);
  out.Put<W15>(r5, k.q);
  out.Put<WE>(r4, k.q);
  out.Put<W3>(r3, k.q);
  out.Put<WE>(r2, k.q);
  out.Put<W15>(r1, k.q);
  out.Put<WE>(r0, k.q);
  StorePacked<B>(half, out);
  return y7;
}

template <int B>
int32_t PackC(const short* s, uint64_t& half, int32_t p, const SQuantum& k) {
  return PackPredicted<B, B + 1, B + 1, true, B, B - 1>(s, half, p, k);
}

// With n = 10 the fourth header bit takes the top bit of x7's field.
template <int B>
int32_t PackD(const short* s, uint64_t& half, int32_t p, int n, const SQuantum& k) {
  if (n == 10) return PackPredicted<B, B + 2, B + 2, true, B, B - 2>(s, half, p, k);
  return PackPredicted<B, B + 3, B + 2, false, B, B - 2>(s, half, p, k);
}

// With n = 8 the third header bit takes the top bit of x7's field.
template <int B>
int32_t PackE(const short* s, uint64_t& half, int32_t p, int n, const SQuantum& k) {
  if (n == 8) return PackPredicted<B, B + 4, B + 1, false, B, B - 2>(s, half, p, k);
  return PackPredicted<B, B + 5, B + 1, false, B, B - 2>(s, half, p, k);
}

template <int B>
int32_t PackF(const short* s, uint64_t& half, int32_t p, const SQuantum& k) {
  return PackPredicted<B, B + 6, B + 1, false, B - 1, B - 2>(s, half, p, k);
}

template <int B>
int32_t PackG(const short* s, uint64_t& half, int32_t p, const SQuantum& k) {
  return PackPredicted<B, B + 3, B - 1, false, B - 1, B - 1>(s, half, p, k);
}

template <int B>
int32_t PackHalf(EMode mode, const short* s, uint64_t& half, int32_t p, int n, const SQuantum& k) {
  switch (mode) {
    case eModeA:
      return PackA<B>(s, half, k);
    case eModeB:
      return PackB<B>(s, half, p, k);
    case eModeC:
      return PackC<B>(s, half, p, k);
    case eModeD:
      return PackD<B>(s, half, p, n, k);
    case eModeE:
      return PackE<B>(s, half, p, n, k);
    case eModeF:
      return PackF<B>(s, half, p, k);
    case eModeG:
      return PackG<B>(s, half, p, k);
  }
  return 0;
}

// Highest set bit first: the candidate replaces best only when its highest
// set bit is lower.
inline bool Beats(uint32_t candidate, uint32_t best) {
  return static_cast<int32_t>(candidate) < static_cast<int32_t>(best & ~candidate);
}

struct SChoice {
  EMode mode;
  int n;
};

template <int B>
SChoice Choose(const SAccumulators& a) {
  const uint32_t p7 = static_cast<uint32_t>(a.peak7);
  const uint32_t p3 = static_cast<uint32_t>(a.peak3);
  const uint32_t p15 = static_cast<uint32_t>(a.peak15);
  const uint32_t d3 = static_cast<uint32_t>(a.deviation3);
  const uint32_t d15 = static_cast<uint32_t>(a.deviation15);
  const uint32_t de = static_cast<uint32_t>(a.deviationEven);
  const uint32_t k = 3u << (B - 4);
  uint32_t candidate[5];
  candidate[0] = ((p7 | p3 | p15) >> 1) | de | k | (B == 4 ? 0x3FFFu : 0x3FFu);
  candidate[1] = ((p7 | p3) >> 2) | (d15 >> 1) | de | k | 0xFFu;
  candidate[2] = (p7 >> 4) | (d3 >> 3) | (d15 >> 1) | (de << 1) | k | 0x3Fu;
  if (static_cast<int32_t>(candidate[2]) > 0x7FF) candidate[2] = (d15 >> 1) | (de << 1) | 0xFFFu;
  candidate[3] = (p7 >> 6) | (d3 >> 2) | (d15 >> 1) | (de << 1) | k | 0xFu;
  candidate[4] = (p7 >> 7) | (d3 >> 2) | d15 | (de << 1) | k | (B == 4 ? 3u : 7u);
  int chosen = 0;
  for (int i = 1; i < 5; ++i) {
    if (Beats(candidate[i], candidate[chosen])) chosen = i;
  }
  const uint32_t best = candidate[chosen];
  if (best > 0x3FFFu) return {eModeA, 13};
  // n is one below the position of best's highest set bit (best >= 3).
  const int top = 31 - __builtin_clz(best);
  return {static_cast<EMode>(eModeB + chosen), top - 1};
}

}  // namespace

compressor::compressor()
    : mShift(0),
      mMask(0),
      mRound(0),
      mPeak7(0),
      mPeak3(0),
      mPeak15(0),
      mDeviation3(0),
      mDeviation15(0),
      mDeviationEven(0) {}

namespace {

template <int B>
int32_t CompressBlock(const short* samples, unsigned char* bytes, int32_t prev, SAccumulators& a,
                      SChoice& choice) {
  a = SAccumulators();
  Analyse(samples, prev, a);
  Analyse(samples + 8, samples[7], a);
  choice = Choose<B>(a);
  const SQuantum k = QuantumFor(choice.n, B);
  uint64_t half0 = 0;
  uint64_t half1 = 0;
  const int32_t middle = PackHalf<B>(choice.mode, samples, half0, prev, choice.n, k);
  const int32_t last = PackHalf<B>(choice.mode, samples + 8, half1, middle, choice.n, k);
  const SHeader header = EncodeHeader(choice.mode, choice.n, B);
  half0 |= static_cast<uint64_t>(header.half0) << (64 - header.length);
  half1 |= static_cast<uint64_t>(header.half1) << (64 - header.length);
  StoreBlock<B>(half0, half1, bytes);
  return last;
}

}  // namespace

int compressor::compress(const short* samples, unsigned char* bytes, int prev, int bits) {
  SAccumulators a;
  SChoice choice{eModeA, 13};
  int32_t last = 0;
  switch (bits) {
    case 4:
      last = CompressBlock<4>(samples, bytes, prev, a, choice);
      break;
    case 5:
      last = CompressBlock<5>(samples, bytes, prev, a, choice);
      break;
    case 6:
      last = CompressBlock<6>(samples, bytes, prev, a, choice);
      break;
    case 7:
      last = CompressBlock<7>(samples, bytes, prev, a, choice);
      break;
    case 8:
      last = CompressBlock<8>(samples, bytes, prev, a, choice);
      break;
    default:
      return prev;
  }
  mPeak7 = a.peak7;
  mPeak3 = a.peak3;
  mPeak15 = a.peak15;
  mDeviation3 = a.deviation3;
  mDeviation15 = a.deviation15;
  mDeviationEven = a.deviationEven;
  mShift = static_cast<int16_t>(choice.n);
  cmp_prp(bits);
  return last;
}

void compressor::calc(const short* samples, int p) {
  SAccumulators a;
  a.peak7 = mPeak7;
  a.peak3 = mPeak3;
  a.peak15 = mPeak15;
  a.deviation3 = mDeviation3;
  a.deviation15 = mDeviation15;
  a.deviationEven = mDeviationEven;
  Analyse(samples, p, a);
  mPeak7 = a.peak7;
  mPeak3 = a.peak3;
  mPeak15 = a.peak15;
  mDeviation3 = a.deviation3;
  mDeviation15 = a.deviation15;
  mDeviationEven = a.deviationEven;
}

int compressor::range(int x, int a, int c, int width) const {
  const int q = mMask == 0 ? 0 : __builtin_ctz(static_cast<uint32_t>(mMask));
  return Residual(x, a, c, q + width - 1, SQuantum{q, mMask, mRound});
}

void compressor::cmp_prp(int bits) {
  const SQuantum k = QuantumFor(mShift, bits);
  mMask = k.M;
  mRound = k.R;
}

int compressor::PackOneHalf(int mode, const short* samples, unsigned char* work, int p, int bits) {
  cmp_prp(bits);
  const SQuantum k = QuantumFor(mShift, bits);
  const EMode m = static_cast<EMode>(mode);
  uint64_t half = 0;
  int32_t last = p;
  switch (bits) {
    case 4:
      last = PackHalf<4>(m, samples, half, p, mShift, k);
      break;
    case 5:
      last = PackHalf<5>(m, samples, half, p, mShift, k);
      break;
    case 6:
      last = PackHalf<6>(m, samples, half, p, mShift, k);
      break;
    case 7:
      last = PackHalf<7>(m, samples, half, p, mShift, k);
      break;
    case 8:
      last = PackHalf<8>(m, samples, half, p, mShift, k);
      break;
    default:
      return p;
  }
  StoreHalf(work, half);
  return last;
}

int compressor::cmp_a(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeA, s, w, p, bits);
}
int compressor::cmp_b(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeB, s, w, p, bits);
}
int compressor::cmp_c(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeC, s, w, p, bits);
}
int compressor::cmp_d(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeD, s, w, p, bits);
}
int compressor::cmp_e(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeE, s, w, p, bits);
}
int compressor::cmp_f(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeF, s, w, p, bits);
}
int compressor::cmp_g(const short* s, unsigned char* w, int p, int bits) {
  return PackOneHalf(eModeG, s, w, p, bits);
}

}  // namespace Private
}  // namespace SL
