#pragma once

#include <cstdint>

namespace SL {
namespace Private {

// Block encoder of the device's sample coding: 16 signed 16-bit samples of one
// channel become 2 * bits bytes (bits = 4 to 8). The coding is closed-loop:
// predictions use reconstructed values, and compress returns the
// reconstructed last sample, which the caller passes back as prev for the
// channel's next block (0 for the first one).
class compressor {
public:
  compressor();

  // Encodes samples[0..15] into bytes[0 .. 2*bits-1]; returns x7' of half 1.
  int compress(const short* samples, unsigned char* bytes, int prev, int bits);

  // Analysis of one half block against p; ORs into the accumulators.
  void calc(const short* samples, int p);
  // Residual of x against the mean of a and c for a field of the given width
  // (uses the current shift); the reconstruction is mean + residual.
  int range(int x, int a, int c, int width) const;

  // Pack one half in one mode into the work area (half 0 at work, half 1 at
  // work + 2), header bits left clear; each returns the reconstructed x7.
  int cmp_a(const short* samples, unsigned char* work, int p, int bits);
  int cmp_b(const short* samples, unsigned char* work, int p, int bits);
  int cmp_c(const short* samples, unsigned char* work, int p, int bits);
  int cmp_d(const short* samples, unsigned char* work, int p, int bits);
  int cmp_e(const short* samples, unsigned char* work, int p, int bits);
  int cmp_f(const short* samples, unsigned char* work, int p, int bits);
  int cmp_g(const short* samples, unsigned char* work, int p, int bits);

  // One's complement magnitude: x for x >= 0, else -x - 1.
  static int abso(int x) { return x < 0 ? ~x : x; }
  // Mask and rounding from the shift and bits.
  void cmp_prp(int bits);

  // The shift of the last block; setting it lets a single half be packed in
  // any mode (cmp_a to cmp_g prepare mask and rounding from it).
  int Shift() const { return mShift; }
  void SetShift(int n) { mShift = static_cast<int16_t>(n); }

private:
  int PackOneHalf(int mode, const short* samples, unsigned char* work, int p, int bits);

  int16_t mShift;
  int32_t mMask;
  int32_t mRound;
  int32_t mPeak7;
  int32_t mPeak3;
  int32_t mPeak15;
  int32_t mDeviation3;
  int32_t mDeviation15;
  int32_t mDeviationEven;
};

}  // namespace Private
}  // namespace SL
