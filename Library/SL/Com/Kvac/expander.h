#pragma once

#include <cstdint>

namespace SL {
namespace Private {

// Block decoder of the device's sample coding: 2 * bits bytes (bits = 4 to 8)
// become 16 samples of one channel. Every byte pattern decodes. expand
// returns the reconstructed last sample, uncut, which the caller passes back
// as prev for the channel's next block (0 for the first one).
class expander {
public:
  expander();

  // Decodes bytes[0 .. 2*bits-1] into samples[0..15]; returns x7' of half 1.
  int expand(const unsigned char* bytes, short* samples, int prev, int bits);

  // Decode one half from the work area (half 0 at work, half 1 at work + 2)
  // in one mode, with the current shift, mask and rounding; each returns the
  // reconstructed x7.
  int exp_a(const unsigned char* work, short* samples, int p, int bits);
  int exp_b(const unsigned char* work, short* samples, int p, int bits);
  int exp_c(const unsigned char* work, short* samples, int p, int bits);
  int exp_d(const unsigned char* work, short* samples, int p, int bits);
  int exp_e(const unsigned char* work, short* samples, int p, int bits);
  int exp_f(const unsigned char* work, short* samples, int p, int bits);
  int exp_g(const unsigned char* work, short* samples, int p, int bits);

  // Mask and rounding from the shift and bits; shifts below bits - 4 give
  // mask -1 and rounding 0.
  void exp_prp(int bits);
  // Upper clamp of the even samples x2 and x4 in modes D, E and F.
  static int ptx(int x) { return x > 32767 ? 32767 : x; }

  // The shift of the last block decoded (or set for exp_a to exp_g).
  int Shift() const { return mShift; }
  void SetShift(int n) { mShift = static_cast<int16_t>(n); }

private:
  int UnpackOneHalf(int mode, const unsigned char* work, short* samples, int p, int bits);

  int16_t mShift;
  int32_t mMask;
  int32_t mRound;
};

}  // namespace Private
}  // namespace SL
