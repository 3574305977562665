#pragma once

// A slow, bit-at-a-time model of the device's block coding, written
// independently of the library's codec so that the two can be compared.

#include <array>
#include <cstdint>

namespace KvacReference {

struct SStats {
  long folds = 0;        // reconstructions folded back into 16 bits
  long oddRails = 0;     // -32768 from two odd neighbours, moved up
  long saturations = 0;  // residuals that did not fit their field
};

struct SResult {
  char mode = '?';
  int n = -1;
  int last = 0;
  std::array<int, 16> reconstructed{};  // encoder's x', uncut
};

// Full encoder: analysis, mode choice, packing, layout.
SResult Encode(const short* samples, unsigned char* bytes, int prev, int bits,
               SStats* stats = nullptr);

// Packs a block in a given mode and shift (any row of the header table,
// including mode G and the open G pairs n = 2..4 for bits >= 5). Rows whose
// shift is below bits - 4, and pairs not in the table, give mode '?'.
SResult EncodeAs(char mode, int n, const short* samples, unsigned char* bytes, int prev, int bits);

// Decoder. mode/n report the matched header row ('?' when none matched,
// which the model treats as an error).
SResult Decode(const unsigned char* bytes, short* samples, int prev, int bits);

}  // namespace KvacReference
