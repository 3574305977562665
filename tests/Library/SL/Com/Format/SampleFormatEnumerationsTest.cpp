#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Format/CSampleTraits.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Format/CWaveFormat.h"
#include "SL/Com/Wave/CLoopMode.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct CEntry {
  int value;
  char const* name;
};

// Every entry round-trips between value, name and static member; a value
// between two entries and one past the last throw with the table's bounds.
template <class E>
void ExpectTable(std::vector<CEntry> const& entries, std::vector<E> const& members,
                 std::vector<int> const& invalid) {
  ASSERT_EQ(entries.size(), members.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    CEntry const& e = entries[i];
    EXPECT_EQ(e.name, E(e.value).ToString()) << e.value;
    EXPECT_EQ(e.value, E(std::string(e.name)).GetValue()) << e.name;
    EXPECT_EQ(e.value, members[i].GetValue()) << e.name;
  }
  for (int value : invalid) {
    try {
      E const e(value);
      ADD_FAILURE() << value << " was accepted as " << e.ToString();
    } catch (typename E::CError const& error) {
      EXPECT_EQ(entries.front().value, error.mLowerBound) << value;
      EXPECT_EQ(entries.back().value, error.mUpperBound) << value;
    }
  }
  EXPECT_THROW(E(std::string("no such name")), typename E::CError);
  EXPECT_EQ(entries.front().value, E().GetValue());
}

}  // namespace

TEST(SampleFormatEnumerations, BitDepthNamesCodesAndBounds) {
  using D = SL::CBitDepth;
  ExpectTable<D>({{0, "NONE"},
                  {0x10008, "INTEGER8"},
                  {0x10010, "INTEGER16"},
                  {0x10018, "INTEGER24"},
                  {0x10020, "INTEGER32"},
                  {0x20020, "FLOAT32"},
                  {0x20040, "FLOAT64"},
                  {0x40040, "COMPLEX32"},
                  {0x40080, "COMPLEX64"},
                  {0x80080, "POINT64"}},
                 {D::None, D::Integer8, D::Integer16, D::Integer24, D::Integer32, D::Float32,
                  D::Float64, D::Complex32, D::Complex64, D::Point64},
                 {0x10011, 8, 0x20018, 0x80081, -1});
}

TEST(SampleFormatEnumerations, WaveFileFormatNamesAndBounds) {
  using F = SL::CWaveFileFormat;
  ExpectTable<F>({{0, "INVALID"}, {1, "AIFF"}, {2, "WINWAVE"}},
                 {F::Invalid, F::FormAiff, F::RiffWave}, {3, -1});
}

TEST(SampleFormatEnumerations, WaveFormatNamesAndBounds) {
  using F = SL::CWaveFormat;
  ExpectTable<F>({{0, "NONE"},
                  {0x1000A, "WAVE"},
                  {0x10014, "FFT"},
                  {0x10022, "PITCH"},
                  {0x10003, "GENERAL"},
                  {0x2000A, "AMPLITUDE_ENVELOPE"},
                  {0x20022, "PITCH_ENVELOPE"},
                  {0x20014, "FILTER_ENVELOPE"},
                  {0x20044, "PHASE_ENVELOPE"}},
                 {F::None, F::Wave, F::Fft, F::Pitch, F::General, F::AmplitudeEnvelope,
                  F::PitchEnvelope, F::FilterEnvelope, F::PhaseEnvelope},
                 {1, 0x1000B, 0x20045});
}

TEST(SampleFormatEnumerations, LoopModeNamesAndBounds) {
  using M = SL::CLoopMode;
  ExpectTable<M>({{0, "1SHOT"},
                  {1, "FWD"},
                  {3, "ALT++"},
                  {7, "ALT+-"},
                  {8, "1SHOTR"},
                  {9, "FWDR"},
                  {11, "ALT++R"},
                  {15, "ALT+-R"}},
                 {M::OneShot, M::Forward, M::AlternatePlus, M::AlternateMinus, M::OneShotReverse,
                  M::ForwardReverse, M::AlternatePlusReverse, M::AlternateMinusReverse},
                 {2, 4, 10, 16});
}

TEST(SampleFormatEnumerations, GetDigitsPerCode) {
  struct {
    SL::CBitDepth depth;
    int digits;
  } const rows[] = {
      {SL::CBitDepth::None, 0},       {SL::CBitDepth::Integer8, 8},
      {SL::CBitDepth::Integer16, 16}, {SL::CBitDepth::Integer24, 24},
      {SL::CBitDepth::Integer32, 32}, {SL::CBitDepth::Float32, 24},
      {SL::CBitDepth::Float64, 53},   {SL::CBitDepth::Complex32, 24},
      {SL::CBitDepth::Complex64, 53}, {SL::CBitDepth::Point64, 53},
  };
  for (auto const& row : rows) EXPECT_EQ(row.digits, row.depth.GetDigits()) << row.depth.ToString();
}

TEST(SampleFormatEnumerations, ResolutionLessComparesDigitsThenKind) {
  using D = SL::CBitDepth;
  struct {
    D a;
    D b;
    bool less;
  } const rows[] = {
      {D::None, D::Integer8, true},        {D::Integer8, D::None, false},
      {D::Integer16, D::Integer24, true},  {D::Integer24, D::Integer16, false},
      {D::Integer24, D::Float32, true},    {D::Float32, D::Integer24, false},
      {D::Float32, D::Complex32, true},    {D::Complex32, D::Float32, false},
      {D::Float64, D::Point64, false},     {D::Point64, D::Float64, false},
      {D::Float64, D::Complex64, true},    {D::Point64, D::Complex64, true},
      {D::Integer32, D::Float64, true},    {D::Float64, D::Integer32, false},
      {D::Integer16, D::Integer16, false}, {D::Float32, D::Integer32, true},
      {D::None, D::None, false},
  };
  for (auto const& row : rows)
    EXPECT_EQ(row.less, row.a.ResolutionLess(row.b))
        << row.a.ToString() << " < " << row.b.ToString();
}

TEST(SampleFormatEnumerations, SampleTraitsBounds) {
  using namespace SL;
  static_assert(std::is_same<CSampleTraits<nInteger8>::CValueType, unsigned char>::value, "");
  static_assert(std::is_same<CSampleTraits<nInteger16>::CValueType, short>::value, "");
  static_assert(sizeof(CSampleTraits<nInteger24>::CValueType) == 4, "");
  EXPECT_EQ(0, CSampleTraits<nInteger8>::sMinimumValue);
  EXPECT_EQ(128, CSampleTraits<nInteger8>::sMidpointValue);
  EXPECT_EQ(255, CSampleTraits<nInteger8>::sMaximumValue);
  EXPECT_EQ(-32768, CSampleTraits<nInteger16>::sMinimumValue);
  EXPECT_EQ(32767, CSampleTraits<nInteger16>::sMaximumValue);
  EXPECT_EQ(-8388608, CSampleTraits<nInteger24>::sMinimumValue);
  EXPECT_EQ(8388607, CSampleTraits<nInteger24>::sMaximumValue);
  EXPECT_EQ(-2147483647 - 1, CSampleTraits<nInteger32>::sMinimumValue);
  EXPECT_EQ(2147483647, CSampleTraits<nInteger32>::sMaximumValue);
  EXPECT_EQ(1.17549435e-38f, CSampleTraits<nFloat32>::sMinimumValue);
  EXPECT_EQ(std::numeric_limits<float>::max(), CSampleTraits<nFloat32>::sMaximumValue);
  EXPECT_EQ(2.2250738585072014e-308, CSampleTraits<nFloat64>::sMinimumValue);
  EXPECT_EQ(0.0, CSampleTraits<nFloat64>::sMidpointValue);
  EXPECT_EQ(std::complex<float>(0, 0), CSampleTraits<nComplex32>::sMaximumValue);
  EXPECT_EQ(std::complex<double>(0, 0), CSampleTraits<nComplex64>::sMinimumValue);
  EXPECT_EQ(std::numeric_limits<double>::max(), CSampleTraits<nPoint64>::sMaximumValue.first);
  EXPECT_EQ(0.0, CSampleTraits<nPoint64>::sMaximumValue.second);
  EXPECT_EQ(2.2250738585072014e-308, CSampleTraits<nPoint64>::sMinimumValue.first);
}
