#include "Support/KvacReference.h"

#include <string>
#include <vector>

namespace KvacReference {
namespace {

std::string Binary(int value, int length) {
  std::string s;
  for (int i = length - 1; i >= 0; --i) s += ((value >> i) & 1) ? '1' : '0';
  return s;
}

struct SRow {
  char mode;
  int n;
  std::string half0;
  std::string half1;
};

// The header table, one row per (mode, n).
std::vector<SRow> Rows(int b) {
  std::vector<SRow> rows;
  if (b == 4) {
    rows.push_back({'A', 13, "111", "110"});
    rows.push_back({'B', 12, "1111", "1111"});
    for (int n = 4; n <= 9; ++n) rows.push_back({'D', n, "111", Binary(n - 4, 3)});
    rows.push_back({'D', 10, "1111", "1110"});
    rows.push_back({'E', 8, "110", "111"});
    for (int n = 0; n <= 6; ++n) rows.push_back({'F', n, "110", Binary(n, 3)});
    for (int n = 0; n <= 1; ++n) rows.push_back({'G', n, "1110", Binary(14 + n, 4)});
  } else {
    rows.push_back({'A', 13, "1110", "1111"});
    for (int n = 8; n <= 12; ++n) rows.push_back({'B', n, "1110", Binary(n + 2, 4)});
    rows.push_back({'D', 4, "110", "111"});
    for (int n = 5; n <= 9; ++n) rows.push_back({'D', n, "111", Binary(n - 5, 3)});
    rows.push_back({'D', 10, "1111", "1010"});
    rows.push_back({'E', 8, "110", "110"});
    for (int n = 1; n <= 6; ++n) rows.push_back({'F', n, "110", Binary(n - 1, 3)});
    // n = 2..4 are the pairs the table leaves open, read as the G row's continuation.
    for (int n = 0; n <= 4; ++n) rows.push_back({'G', n, "1111", Binary(11 + n, 4)});
  }
  for (int n = 6; n <= 11; ++n) rows.push_back({'C', n, Binary(n >> 2, 2), Binary(n & 3, 2)});
  for (int n = 2; n <= 7; ++n)
    rows.push_back({'E', n, Binary((n - 2) >> 2, 2), Binary((n - 2) & 3, 2)});
  return rows;
}

// One field of a half: which sample, its width and kind.
// 'D' direct, 'R' residual, 'F' fine, 'C' coarse.
struct SField {
  int sample;
  int width;
  char kind;
};

std::vector<SField> Layout(char mode, int n, int b) {
  const int order[8] = {7, 6, 5, 4, 3, 2, 1, 0};
  std::vector<SField> f;
  auto add = [&](int i, int w, char k) { f.push_back({order[i], w, k}); };
  switch (mode) {
    case 'A':
      if (b == 4) {
        const char kinds[8] = {'F', 'F', 'C', 'F', 'C', 'F', 'C', 'F'};
        for (int i = 0; i < 8; ++i) add(i, kinds[i] == 'F' ? 4 : 3, kinds[i]);
      } else {
        for (int i = 0; i < 8; ++i) add(i, i % 2 == 0 ? b : b - 1, i % 2 == 0 ? 'F' : 'C');
      }
      break;
    case 'B':
      for (int i = 0; i < 8; ++i) add(i, i % 2 == 0 ? b : b - 1, i % 2 == 0 ? 'D' : 'R');
      break;
    case 'C': {
      const int w[8] = {b + 1, b - 1, b, b - 1, b + 1, b - 1, b, b - 1};
      for (int i = 0; i < 8; ++i) add(i, w[i], (i == 0 || i == 4) ? 'D' : 'R');
      break;
    }
    case 'D': {
      const int w[8] = {b + 3, b - 2, b, b - 2, b + 2, b - 2, b, b - 2};
      for (int i = 0; i < 8; ++i) add(i, w[i], (i == 0 || (i == 4 && n == 10)) ? 'D' : 'R');
      break;
    }
    case 'E': {
      const int w[8] = {b + 5, b - 2, b, b - 2, b + 1, b - 2, b, b - 2};
      for (int i = 0; i < 8; ++i) add(i, w[i], i == 0 ? 'D' : 'R');
      break;
    }
    case 'F': {
      const int w[8] = {b + 6, b - 2, b - 1, b - 2, b + 1, b - 2, b - 1, b - 2};
      for (int i = 0; i < 8; ++i) add(i, w[i], i == 0 ? 'D' : 'R');
      break;
    }
    case 'G':
      for (int i = 0; i < 8; ++i) add(i, i == 0 ? b + 3 : b - 1, i == 0 ? 'D' : 'R');
      break;
  }
  return f;
}

int HeaderLength(char mode, int n, int b) {
  for (const SRow& r : Rows(b)) {
    if (r.mode == mode && r.n == n) return static_cast<int>(r.half0.size());
  }
  return -1;
}

// Neighbours (as sample indices, -1 = p) of the residual fields, in the order
// the residuals are formed.
struct SNeighbours {
  int sample, a, c;
};

std::vector<SNeighbours> Predictions(char mode, int n) {
  std::vector<SNeighbours> v;
  const bool x3Direct = mode == 'B' || mode == 'C' || (mode == 'D' && n == 10);
  if (!x3Direct) v.push_back({3, -1, 7});
  if (mode != 'B') {
    v.push_back({1, -1, 3});
    v.push_back({5, 3, 7});
  }
  v.push_back({0, -1, 1});
  v.push_back({2, 1, 3});
  v.push_back({4, 3, 5});
  v.push_back({6, 5, 7});
  return v;
}

int Pow2(int e) { return 1 << e; }

struct SQuant {
  int q, M, R;
};

int Quantise(int x, const SQuant& k) { return (x & k.M) | k.R; }

int Abso(int x) { return x >= 0 ? x : -x - 1; }

// Half-block bit positions in the 16-byte work area.
void PutBit(unsigned char* work, int half, int position, int bit) {
  const int c = position / 8;
  const int index = half * 2 + (c / 2) * 4 + (c % 2);
  if (bit)
    work[index] |= static_cast<unsigned char>(0x80 >> (position % 8));
  else
    work[index] &= static_cast<unsigned char>(~(0x80 >> (position % 8)));
}

int GetBit(const unsigned char* work, int half, int position) {
  const int c = position / 8;
  const int index = half * 2 + (c / 2) * 4 + (c % 2);
  return (work[index] >> (7 - position % 8)) & 1;
}

int Range(int x, int a, int c, int w, const SQuant& k, SStats* stats) {
  const int s = k.q + w - 1;
  const int m = (a + c) >> 1;
  const int d = x - m;
  int r;
  if (-Pow2(s) <= d && d < Pow2(s)) {
    r = Quantise(d, k);
    const int y = m + r;
    if (y < -32768 || y > 32767) {
      r = (y ^ (k.M & 0xFFFF)) - m;
      if (stats) ++stats->folds;
    } else if (y == -32768 && (a % 2 != 0) && (c % 2 != 0)) {
      r = r + 2 * k.R;
      if (stats) ++stats->oddRails;
    }
  } else {
    r = d < 0 ? ((-Pow2(s) & k.M) | k.R) : (((Pow2(s) - 1) & k.M) | k.R);
    if (stats) ++stats->saturations;
  }
  return r;
}

// Packs one half; returns its reconstructions.
std::array<int, 8> PackHalf(char mode, int n, int b, const short* x, int p, unsigned char* work,
                            int half, SStats* stats) {
  const int q = n - b + 4;
  const SQuant k{q, -Pow2(q), Pow2(q) / 2};
  std::array<int, 8> y{};
  std::array<int, 8> value{};
  std::vector<SField> fields = Layout(mode, n, b);
  auto at = [&](int i) { return i < 0 ? p : y[i]; };
  for (const SField& f : fields) {
    if (f.kind == 'D') {
      y[f.sample] = value[f.sample] = Quantise(x[f.sample], k);
    } else if (f.kind == 'F') {
      value[f.sample] = (x[f.sample] & (k.M >> 1)) | (k.R >> 1);
      y[f.sample] = value[f.sample];
    } else if (f.kind == 'C') {
      value[f.sample] = x[f.sample] & k.M;
      y[f.sample] = value[f.sample] | k.R;
    }
  }
  for (const SNeighbours& nb : Predictions(mode, n)) {
    if (mode == 'A') break;
    int width = 0;
    for (const SField& f : fields)
      if (f.sample == nb.sample) width = f.width;
    const int r = Range(x[nb.sample], at(nb.a), at(nb.c), width, k, stats);
    value[nb.sample] = r;
    y[nb.sample] = ((at(nb.a) + at(nb.c)) >> 1) + r;
  }
  int position = HeaderLength(mode, n, b);
  const bool sharedTop = (mode == 'D' && n == 10) || (mode == 'E' && n == 8);
  if (sharedTop) --position;  // x7's top bit is cleared, then the header takes it
  for (const SField& f : fields) {
    const int low = f.kind == 'F' ? q - 1 : q;
    for (int j = f.width - 1; j >= 0; --j) {
      int bit = static_cast<int>((static_cast<uint32_t>(value[f.sample]) >> (low + j)) & 1u);
      if (sharedTop && f.sample == 7 && j == f.width - 1) bit = 0;
      PutBit(work, half, position++, bit);
    }
  }
  return y;
}

SResult Pack(char mode, int n, const short* x, unsigned char* bytes, int prev, int b,
             SStats* stats) {
  unsigned char work[16] = {0};
  SResult result;
  if (HeaderLength(mode, n, b) < 0 || n - b + 4 < 0) return result;
  result.mode = mode;
  result.n = n;
  const std::array<int, 8> y0 = PackHalf(mode, n, b, x, prev, work, 0, stats);
  const std::array<int, 8> y1 = PackHalf(mode, n, b, x + 8, y0[7], work, 1, stats);
  for (const SRow& r : Rows(b)) {
    if (r.mode != mode || r.n != n) continue;
    for (size_t i = 0; i < r.half0.size(); ++i) {
      if (r.half0[i] == '1') PutBit(work, 0, static_cast<int>(i), 1);
      if (r.half1[i] == '1') PutBit(work, 1, static_cast<int>(i), 1);
    }
  }
  if (b == 4) {
    std::swap(work[2], work[4]);
    std::swap(work[3], work[5]);
  } else if (b % 2 == 1) {
    work[2 * b - 1] = work[2 * b];
  }
  for (int i = 0; i < 2 * b; ++i) bytes[i] = work[i];
  for (int i = 0; i < 8; ++i) {
    result.reconstructed[i] = y0[i];
    result.reconstructed[8 + i] = y1[i];
  }
  result.last = y1[7];
  return result;
}

}  // namespace

SResult EncodeAs(char mode, int n, const short* samples, unsigned char* bytes, int prev, int bits) {
  return Pack(mode, n, samples, bytes, prev, bits, nullptr);
}

SResult Encode(const short* x, unsigned char* bytes, int prev, int b, SStats* stats) {
  int P7 = 0, P3 = 0, P15 = 0, D3 = 0, D15 = 0, DE = 0;
  for (int half = 0; half < 2; ++half) {
    const short* s = x + 8 * half;
    const int p = half == 0 ? prev : x[7];
    P7 |= Abso(s[7]);
    P3 |= Abso(s[3]);
    P15 |= Abso(s[1]);
    P15 |= Abso(s[5]);
    D3 |= Abso(s[3] - ((s[7] + p) >> 1));
    D15 |= Abso(s[1] - ((s[3] + p) >> 1));
    D15 |= Abso(s[5] - ((s[7] + s[3]) >> 1));
    DE |= Abso(s[0] - ((p + s[1]) >> 1));
    DE |= Abso(s[2] - ((s[3] + s[1]) >> 1));
    DE |= Abso(s[4] - ((s[3] + s[5]) >> 1));
    DE |= Abso(s[6] - ((s[7] + s[5]) >> 1));
  }
  const int k = 3 << (b - 4);
  int cand[5];
  cand[0] = ((P7 | P3 | P15) >> 1) | DE | k | (b == 4 ? 0x3FFF : 0x3FF);
  cand[1] = ((P7 | P3) >> 2) | (D15 >> 1) | DE | k | 0xFF;
  cand[2] = (P7 >> 4) | (D3 >> 3) | (D15 >> 1) | (DE * 2) | k | 0x3F;
  if (cand[2] > 0x7FF) cand[2] = (D15 >> 1) | (DE * 2) | 0xFFF;
  cand[3] = (P7 >> 6) | (D3 >> 2) | (D15 >> 1) | (DE * 2) | k | 0xF;
  cand[4] = (P7 >> 7) | (D3 >> 2) | D15 | (DE * 2) | k | (b == 4 ? 3 : 7);
  int best = cand[0];
  for (int i = 1; i < 5; ++i) {
    if (cand[i] < (best & ~cand[i])) best = cand[i];
  }
  int n = 13;
  for (int copy = best; copy <= 0x3FFF; copy *= 2) --n;
  char mode = 'A';
  if (n != 13) {
    const char names[5] = {'B', 'C', 'D', 'E', 'F'};
    for (int i = 4; i >= 0; --i) {
      if (cand[i] == best) mode = names[i];
    }
  }
  return Pack(mode, n, x, bytes, prev, b, stats);
}

SResult Decode(const unsigned char* bytes, short* samples, int prev, int b) {
  unsigned char work[16] = {0};
  for (int i = 0; i < 2 * b; ++i) work[i] = bytes[i];
  if (b == 4) {
    std::swap(work[2], work[4]);
    std::swap(work[3], work[5]);
  } else if (b % 2 == 1) {
    work[2 * b] = work[2 * b - 1];
  }
  SResult result;
  int matches = 0;
  for (const SRow& r : Rows(b)) {
    bool match = true;
    for (size_t i = 0; i < r.half0.size(); ++i) {
      match = match && GetBit(work, 0, static_cast<int>(i)) == r.half0[i] - '0';
      match = match && GetBit(work, 1, static_cast<int>(i)) == r.half1[i] - '0';
    }
    if (match) {
      ++matches;
      result.mode = r.mode;
      result.n = r.n;
    }
  }
  if (matches != 1) {
    result.mode = '?';
    return result;
  }
  const char mode = result.mode;
  const int n = result.n;
  const int q = n - b + 4;
  const long long M = (-(1LL << (n + 4))) >> b;
  const long long R = (1LL << (n + 4)) >> (b + 1);
  const bool sharedTop = (mode == 'D' && n == 10) || (mode == 'E' && n == 8);
  const bool clamps = mode == 'D' || mode == 'E' || mode == 'F';
  int p = prev;
  for (int half = 0; half < 2; ++half) {
    std::array<long long, 8> v{};
    std::array<int, 8> y{};
    int position = HeaderLength(mode, n, b);
    std::vector<SField> fields = Layout(mode, n, b);
    for (const SField& f : fields) {
      int width = f.width;
      if (sharedTop && f.sample == 7) {
        --width;
      }
      long long raw = 0;
      for (int j = 0; j < width; ++j) raw = raw * 2 + GetBit(work, half, position++);
      if (raw >= (1LL << (width - 1))) raw -= (1LL << width);
      const int shift = f.kind == 'F' ? q - 1 : q;
      long long scaled = shift >= 0 ? raw * (1LL << shift) : raw >> -shift;
      if (f.kind == 'F')
        scaled = (scaled & (M >> 1)) | (R >> 1);
      else
        scaled = (scaled & M) | R;
      v[f.sample] = scaled;
    }
    if (mode == 'A') {
      for (int i = 0; i < 8; ++i) y[i] = static_cast<int>(v[i]);
    } else {
      for (const SField& f : fields) {
        if (f.kind == 'D') y[f.sample] = static_cast<int>(v[f.sample]);
      }
      auto at = [&](int i) { return i < 0 ? p : y[i]; };
      for (const SNeighbours& nb : Predictions(mode, n)) {
        y[nb.sample] =
            static_cast<int>(((static_cast<long long>(at(nb.a)) + at(nb.c)) >> 1) + v[nb.sample]);
      }
    }
    for (int i = 0; i < 8; ++i) {
      int out = y[i];
      if (clamps && (i == 2 || i == 4) && out > 32767) out = 32767;
      samples[8 * half + i] = static_cast<short>(out & 0xFFFF);
      result.reconstructed[8 * half + i] = y[i];
    }
    p = y[7];
  }
  result.last = p;
  return result;
}

}  // namespace KvacReference
