// The channel set of a wave, untyped (null channels) and typed (channels
// with samples): making channels, location, validity, stereo, copies.

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/CChannelCollection.h"
#include "SL/Com/Wave/CNullChannel.h"
#include "SL/Com/Wave/CTypedChannelCollection.h"

#include <gtest/gtest.h>

#include <memory>

using namespace SL;
typedef CChannel<nFloat64> CChannel64;
typedef CTypedChannelCollection<nFloat64> CTyped;

TEST(CChannelCollectionTest, InitializeMakesTheFactorysChannels) {
  for (int n : {-1, 0, 1, 2, 3}) {
    CChannelCollection untyped(CWaveFormat::Wave);
    CTyped typed(CWaveFormat::Wave);
    untyped.Initialize(5);
    untyped.Initialize(n);
    typed.Initialize(n);
    size_t const expected = n > 0 ? static_cast<size_t>(n) : 0;
    ASSERT_EQ(expected, untyped.size());
    ASSERT_EQ(expected, typed.size());
    for (size_t i = 0; i < expected; ++i) {
      EXPECT_TRUE(untyped[i]->IsNull());
      EXPECT_EQ(CWaveFormat::Wave, untyped[i]->GetFormat());
      EXPECT_TRUE(typed.get(i)) << "a channel with samples";
      EXPECT_FALSE(typed[i].IsNull());
    }
    EXPECT_TRUE(untyped.IsValid() && typed.IsValid());
    EXPECT_EQ(0, typed.GetLocation().end) << "no channel or no sample: {0, 0}";
  }
  CTyped typed(CWaveFormat::Wave);
  typed.Initialize(2);
  typed.SetLocation(GT::CRange<long>(0, 100));
  EXPECT_EQ(100, typed.GetLocation().end);
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(std::vector<double>(100, 0.0), std::vector<double>(typed[i].begin(), typed[i].end()));
  typed.Inner().push_back(CChannelCollection::CreateChannel(CWaveFormat::Wave));
  EXPECT_FALSE(typed.get(2)) << "a null channel is no channel with samples";
}

TEST(CChannelCollectionTest, ValidityAndStereo) {
  struct {
    char const* name;
    std::vector<double> pans;
    int moved;    // index of a channel moved to frames [0, 5), or -1
    int retyped;  // index of a channel of another format, or -1
    bool valid, stereo;
  } const cases[] = {{"empty", {}, -1, -1, true, false},
                     {"left and right", {-1.0, 1.0}, -1, -1, true, true},
                     {"right and left", {1.0, -1.0}, -1, -1, true, false},
                     {"two centred", {0.0, 0.0}, -1, -1, true, false},
                     {"nearly left", {-0.999, 1.0}, -1, -1, true, false},
                     {"three", {-1.0, 1.0, 0.0}, -1, -1, true, false},
                     {"second moved", {-1.0, 1.0}, 1, -1, false, true},
                     {"first moved", {-1.0, 1.0}, 0, -1, false, true},
                     {"second of another format", {-1.0, 1.0}, -1, 1, false, true}};
  for (auto const& c : cases) {
    CChannelCollection untyped(CWaveFormat::Wave);
    CTyped typed(CWaveFormat::Wave);
    for (IChannelCollection* collection : std::vector<IChannelCollection*>{&untyped, &typed}) {
      CChannelCollection& inner = collection == &typed ? typed.Inner() : untyped;
      inner.Initialize(static_cast<int>(c.pans.size()));
      inner.SetLocation(GT::CRange<long>(0, 10));
      for (size_t i = 0; i < c.pans.size(); ++i) inner[i]->SetPan(c.pans[i]);
      if (c.moved >= 0) inner[c.moved]->SetLocation(GT::CRange<long>(0, 5));
      if (c.retyped >= 0) inner[c.retyped] = CChannelCollection::CreateChannel(CWaveFormat::Fft);
      if (c.retyped >= 0) inner[c.retyped]->SetPan(c.pans[c.retyped]);
      EXPECT_EQ(c.valid, collection->IsValid()) << c.name;
      EXPECT_EQ(c.stereo, collection->IsStereo()) << c.name;
      EXPECT_EQ(c.pans.empty() ? 0
                : c.moved == 0 ? 5
                               : 10,
                collection->GetLocation().end)
          << c.name;
    }
  }
  CChannelCollection holes(CWaveFormat::Wave);
  holes.Initialize(2);
  holes[1].reset();
  EXPECT_FALSE(holes.IsValid());
  holes[0].reset();
  EXPECT_FALSE(holes.IsValid());
}

TEST(CChannelCollectionTest, ShallowCopiesShareChannelsDeepCopiesDoNot) {
  CChannelCollection original(CWaveFormat::Wave);
  original.Initialize(2);
  CChannelCollection shallow(original, false), deep(original), assigned(CWaveFormat::None);
  assigned = original;
  std::unique_ptr<CChannelCollection> const clone(original.Clone());
  original[0]->SetLevel(0.5);
  EXPECT_EQ(0.5, shallow[0]->GetLevel());
  for (CChannelCollection const* copy : {&deep, &assigned, clone.get()}) {
    EXPECT_EQ(1.0, (*copy)[0]->GetLevel());
    EXPECT_FALSE(copy->Equals(original));
    EXPECT_EQ(CWaveFormat::Wave, copy->GetFormat());
  }
  EXPECT_TRUE(shallow.Equals(original));
  // Both still make null channels: the factory came with the copy.
  assigned.Initialize(1);
  EXPECT_TRUE(assigned[0]->IsNull());

  CTyped typed(CWaveFormat::Wave);
  typed.Initialize(1);
  typed.SetLocation(GT::CRange<long>(0, 3));
  CTyped typedShallow(typed, false), typedDeep(typed), typedAssigned(CWaveFormat::None);
  typedAssigned = typed;
  std::unique_ptr<CTyped> const typedClone(typed.Clone());
  *typed[0].At(1) = 2.0;
  EXPECT_EQ(2.0, *typedShallow[0].At(1));
  for (CTyped const* copy : {&typedDeep, &typedAssigned, typedClone.get()}) {
    EXPECT_EQ(0.0, *(*copy)[0].At(1));
    EXPECT_FALSE(copy->Equals(typed));
    EXPECT_EQ(CWaveFormat::Wave, copy->GetFormat());
  }
  EXPECT_TRUE(typedShallow.Equals(typed));
  EXPECT_FALSE(typed.Equals(typed.Inner())) << "a typed collection equals only a typed one";
  EXPECT_FALSE(typed.Inner().Equals(typed));
  typedAssigned.Initialize(1);
  EXPECT_TRUE(typedAssigned.get(0));

  CChannelCollection a(CWaveFormat::Wave), b(CWaveFormat::Fft);
  EXPECT_FALSE(a == b) << "formats differ";
  b.Swap(a);
  EXPECT_EQ(CWaveFormat::Fft, a.GetFormat());
  a.Initialize(1);
  EXPECT_FALSE(a == CChannelCollection(CWaveFormat::Fft)) << "counts differ";
}

TEST(CChannelCollectionTest, NormalizeAndCopyAttributeGoChannelByChannel) {
  CTyped typed(CWaveFormat::Wave);
  typed.Initialize(2);
  typed[1].SetPan(2.0);
  EXPECT_FALSE(typed.HasNormalized());
  typed.Normalize();
  EXPECT_TRUE(typed.HasNormalized());
  EXPECT_EQ(1.0, typed[1].GetPan());
  EXPECT_TRUE(CChannelCollection(CWaveFormat::Wave).HasNormalized());

  // Channel i from source channel i, for the channels both have.
  CChannelCollection source(CWaveFormat::Wave), three(CWaveFormat::Wave);
  source.Initialize(2);
  source[0]->SetPan(-1.0);
  source[1]->SetPan(1.0);
  three.Initialize(3);
  three.CopyAttribute(source, IEntity::sCopyAll);
  EXPECT_TRUE(three[0]->GetPan() == -1.0 && three[1]->GetPan() == 1.0 && three[2]->GetPan() == 0.0);
  three.Initialize(1);
  three.CopyAttribute(source, IEntity::sCopyAll);
  EXPECT_EQ(-1.0, three[0]->GetPan());
}
