#include "SL/Com/Kvac/expander.h"

#include "SL/Com/Kvac/KvacBlock.h"

namespace SL {
namespace Private {

using namespace Kvac;

namespace {

// The w-bit field at bit offset `offset` of a half (0 = first bit),
// sign-extended and scaled by 2^shift (shift may be negative).
template <int W>
inline int32_t Field(uint64_t half, int offset, int shift, int32_t mask, int32_t round) {
  const int64_t top = static_cast<int64_t>(half << offset);
  return (static_cast<int32_t>(top >> (64 - W - shift)) & mask) | round;
}

inline short Cut(int32_t x) {
  return static_cast<short>(static_cast<uint16_t>(static_cast<uint32_t>(x)));
}

inline short Clamped(int32_t x) { return Cut(x > 32767 ? 32767 : x); }

// Mode A: every field stands alone; fine fields carry one bit more.
template <int B>
int32_t UnpackA(uint64_t h, short* out, const SQuantum& k) {
  const int32_t fineMask = MaskFrom(k.q - 1);
  const int32_t fineRound = k.R >> 1;
  int offset = B == 4 ? 3 : 4;
  int32_t last = 0;
  for (int i = 7; i >= 0; --i) {
    const bool fine = B == 4 ? (i != 5 && i != 3 && i != 1) : (i & 1) != 0;
    int32_t v;
    if (fine) {
      v = Field<B>(h, offset, k.q - 1, fineMask, fineRound);
      offset += B;
    } else {
      v = Field<B - 1>(h, offset, k.q, k.M, k.R);
      offset += B - 1;
    }
    if (i == 7) last = v;
    out[i] = Cut(v);
  }
  return last;
}

template <int B>
int32_t UnpackB(uint64_t h, short* out, int32_t p, const SQuantum& k) {
  constexpr int o7 = 4, o6 = o7 + B, o5 = o6 + B - 1, o4 = o5 + B, o3 = o4 + B - 1;
  constexpr int o2 = o3 + B, o1 = o2 + B - 1, o0 = o1 + B;
  const int32_t x7 = Field<B>(h, o7, k.q, k.M, k.R);
  const int32_t x5 = Field<B>(h, o5, k.q, k.M, k.R);
  const int32_t x3 = Field<B>(h, o3, k.q, k.M, k.R);
  const int32_t x1 = Field<B>(h, o1, k.q, k.M, k.R);
  const int32_t x0 = Mean(p, x1) + Field<B - 1>(h, o0, k.q, k.M, k.R);
  const int32_t x2 = Mean(x1, x3) + Field<B - 1>(h, o2, k.q, k.M, k.R);
  const int32_t x4 = Mean(x3, x5) + Field<B - 1>(h, o4, k.q, k.M, k.R);
  const int32_t x6 = Mean(x5, x7) + Field<B - 1>(h, o6, k.q, k.M, k.R);
  out[0] = Cut(x0);
  out[1] = Cut(x1);
  out[2] = Cut(x2);
  out[3] = Cut(x3);
  out[4] = Cut(x4);
  out[5] = Cut(x5);
  out[6] = Cut(x6);
  out[7] = Cut(x7);
  return x7;
}

// Modes C to G.
template <int H, int W7, int W3, bool X3Direct, int W15, int WE, bool Clamp>
int32_t UnpackPredicted(uint64_t h, short* out, int32_t p, const SQuantum& k) {
  constexpr int o7 = H, o6 = o7 + W7, o5 = o6 + WE, o4 = o5 + W15, o3 = o4 + WE;
  constexpr int o2 = o3 + W3, o1 = o2 + WE, o0 = o1 + W15;
  const int32_t x7 = Field<W7>(h, o7, k.q, k.M, k.R);
  const int32_t f3 = Field<W3>(h, o3, k.q, k.M, k.R);
  const int32_t x3 = X3Direct ? f3 : Mean(p, x7) + f3;
  const int32_t x1 = Mean(p, x3) + Field<W15>(h, o1, k.q, k.M, k.R);
  const int32_t x5 = Mean(x3, x7) + Field<W15>(h, o5, k.q, k.M, k.R);
  const int32_t x0 = Mean(p, x1) + Field<WE>(h, o0, k.q, k.M, k.R);
  const int32_t x2 = Mean(x1, x3) + Field<WE>(h, o2, k.q, k.M, k.R);
  const int32_t x4 = Mean(x3, x5) + Field<WE>(h, o4, k.q, k.M, k.R);
  const int32_t x6 = Mean(x5, x7) + Field<WE>(h, o6, k.q, k.M, k.R);
  out[0] = Cut(x0);
  out[1] = Cut(x1);
  out[2] = Clamp ? Clamped(x2) : Cut(x2);
  out[3] = Cut(x3);
  out[4] = Clamp ? Clamped(x4) : Cut(x4);
  out[5] = Cut(x5);
  out[6] = Cut(x6);
  out[7] = Cut(x7);
  return x7;
}

template <int B>
int32_t UnpackHalf(EMode mode, uint64_t h, short* out, int32_t p, int n, const SQuantum& k) {
  switch (mode) {
    case eModeA:
      return UnpackA<B>(h, out, k);
    case eModeB:
      return UnpackB<B>(h, out, p, k);
    case eModeC:
      return UnpackPredicted<2, B + 1, B + 1, true, B, B - 1, false>(h, out, p, k);
    case eModeD:
      // With n = 10 the fourth header bit stands in x7's top bit.
      if (n == 10) return UnpackPredicted<4, B + 2, B + 2, true, B, B - 2, true>(h, out, p, k);
      return UnpackPredicted<3, B + 3, B + 2, false, B, B - 2, true>(h, out, p, k);
    case eModeE:
      if (n == 8) return UnpackPredicted<3, B + 4, B + 1, false, B, B - 2, true>(h, out, p, k);
      return UnpackPredicted<2, B + 5, B + 1, false, B, B - 2, true>(h, out, p, k);
    case eModeF:
      return UnpackPredicted<3, B + 6, B + 1, false, B - 1, B - 2, true>(h, out, p, k);
    case eModeG:
      return UnpackPredicted<4, B + 3, B - 1, false, B - 1, B - 1, false>(h, out, p, k);
  }
  return p;
}

template <int B>
int32_t ExpandBlock(const unsigned char* bytes, short* samples, int32_t prev, SModeShift& header) {
  uint64_t h0;
  uint64_t h1;
  LoadBlock<B>(bytes, h0, h1);
  header = DecodeHeader(static_cast<unsigned>(h0 >> 60), static_cast<unsigned>(h1 >> 60), B);
  const SQuantum k = QuantumFor(header.n, B);
  const int32_t middle = UnpackHalf<B>(header.mode, h0, samples, prev, header.n, k);
  return UnpackHalf<B>(header.mode, h1, samples + 8, middle, header.n, k);
}

}  // namespace

expander::expander() : mShift(0), mMask(0), mRound(0) {}

int expander::expand(const unsigned char* bytes, short* samples, int prev, int bits) {
  SModeShift header{eModeA, 13};
  int32_t last = prev;
  switch (bits) {
    case 4:
      last = ExpandBlock<4>(bytes, samples, prev, header);
      break;
    case 5:
      last = ExpandBlock<5>(bytes, samples, prev, header);
      break;
    case 6:
      last = ExpandBlock<6>(bytes, samples, prev, header);
      break;
    case 7:
      last = ExpandBlock<7>(bytes, samples, prev, header);
      break;
    case 8:
      last = ExpandBlock<8>(bytes, samples, prev, header);
      break;
    default:
      return prev;
  }
  mShift = static_cast<int16_t>(header.n);
  exp_prp(bits);
  return last;
}

void expander::exp_prp(int bits) {
  const SQuantum k = QuantumFor(mShift, bits);
  mMask = k.M;
  mRound = k.R;
}

int expander::UnpackOneHalf(int mode, const unsigned char* work, short* samples, int p, int bits) {
  exp_prp(bits);
  const SQuantum k = QuantumFor(mShift, bits);
  const EMode m = static_cast<EMode>(mode);
  const uint64_t h = LoadHalf(work);
  switch (bits) {
    case 4:
      return UnpackHalf<4>(m, h & (~uint64_t{0} << 32), samples, p, mShift, k);
    case 5:
      return UnpackHalf<5>(m, h & (~uint64_t{0} << 24), samples, p, mShift, k);
    case 6:
      return UnpackHalf<6>(m, h & (~uint64_t{0} << 16), samples, p, mShift, k);
    case 7:
      return UnpackHalf<7>(m, h & (~uint64_t{0} << 8), samples, p, mShift, k);
    case 8:
      return UnpackHalf<8>(m, h, samples, p, mShift, k);
  }
  return p;
}

int expander::exp_a(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeA, w, s, p, bits);
}
int expander::exp_b(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeB, w, s, p, bits);
}
int expander::exp_c(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeC, w, s, p, bits);
}
int expander::exp_d(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeD, w, s, p, bits);
}
int expander::exp_e(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeE, w, s, p, bits);
}
int expander::exp_f(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeF, w, s, p, bits);
}
int expander::exp_g(const unsigned char* w, short* s, int p, int bits) {
  return UnpackOneHalf(eModeG, w, s, p, bits);
}

}  // namespace Private
}  // namespace SL
