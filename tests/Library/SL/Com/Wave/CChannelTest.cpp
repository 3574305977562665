#include "SL/Com/Wave/CChannel.h"

#include <gtest/gtest.h>

#include <memory>

#include "SL/Com/Wave/CChannelCollection.h"
#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CNullChannel.h"
#include "SL/Com/Wave/CTypedChannelCollection.h"

namespace {

typedef SL::CChannel<0x20040> CChannel64;
typedef SL::CTypedChannelCollection<0x20040> CTyped64;

void Fill(CChannel64& channel, GT::CRange<long> const& range, double first) {
  channel.SetLocation(range);
  for (long f = range.begin; f < range.end; ++f) *channel.At(f) = first + static_cast<double>(f);
}

TEST(CChannel, DefaultsAndPanRepair) {
  CChannel64 channel(SL::CWaveFormat::Wave);
  EXPECT_EQ(1.0, channel.GetLevel());
  EXPECT_EQ(0.0, channel.GetPan());
  EXPECT_EQ(1.0, channel.GetPeakLevel());
  EXPECT_TRUE(channel.Envelope().empty());
  EXPECT_EQ(0, channel.GetSize());
  EXPECT_EQ(0, channel.GetLocation().end);
  EXPECT_TRUE(channel.HasNormalized());
  EXPECT_FALSE(channel.IsNull());
  EXPECT_TRUE(channel.GetFormat() == SL::CWaveFormat::Wave);

  channel.SetPan(1.5);
  channel.SetLevel(7.0);
  EXPECT_FALSE(channel.HasNormalized());
  channel.Normalize();
  EXPECT_EQ(1.0, channel.GetPan());
  EXPECT_EQ(7.0, channel.GetLevel());
  channel.SetPan(-3.0);
  channel.Normalize();
  EXPECT_EQ(-1.0, channel.GetPan());
}

TEST(CChannel, ClonesAndCopiesShareNothing) {
  CChannel64 source(SL::CWaveFormat::Wave);
  Fill(source, GT::CRange<long>(3, 8), 0.5);
  source.SetName("left");
  source.Envelope().insert(SL::CEnvelopePoint(1.0, 1.0));
  std::unique_ptr<CChannel64> clone(source.Clone());
  EXPECT_TRUE(clone->Equals(source));
  *clone->At(4) = 99.0;
  clone->SetName("right");
  clone->Envelope()[0].y = 5.0;
  EXPECT_EQ(4.5, *source.At(4));
  EXPECT_EQ("left", source.GetName());
  EXPECT_EQ(1.0, source.Envelope()[0].y);

  CChannel64 withoutSamples(source, false);
  EXPECT_EQ(0, withoutSamples.GetSize());
  EXPECT_EQ(3, withoutSamples.GetLocation().begin);

  // A shared envelope stays shared until the channel is copied.
  boost::shared_ptr<SL::CEnvelope> shared(new SL::CEnvelope(SL::CWaveFormat::None));
  source.SetEnvelope(shared);
  EXPECT_EQ(shared, source.GetEnvelope());
  std::unique_ptr<CChannel64> second(source.Clone());
  EXPECT_NE(shared, second->GetEnvelope());
}

TEST(CChannel, EqualityNeedsSamplesAndFirstFrame) {
  CChannel64 a(SL::CWaveFormat::Wave);
  CChannel64 b(SL::CWaveFormat::Wave);
  Fill(a, GT::CRange<long>(0, 4), 1.0);
  Fill(b, GT::CRange<long>(1, 5), 0.0);  // the same values one frame later
  for (int i = 0; i < 4; ++i) ASSERT_EQ(a.Begin()[i], b.Begin()[i]);
  EXPECT_FALSE(a.Equals(b));
  b.SetLocation(GT::CRange<long>(0, 4));
  EXPECT_TRUE(a.Equals(b));
  *b.At(2) = std::numeric_limits<double>::quiet_NaN();
  *a.At(2) = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(a.Equals(b));
  SL::CNullChannel null(SL::CWaveFormat::Wave);
  EXPECT_FALSE(CChannel64(SL::CWaveFormat::Wave).Equals(null));
  EXPECT_FALSE(null.Equals(CChannel64(SL::CWaveFormat::Wave)));
}

TEST(CNullChannel, HoldsARangeButNoSamples) {
  SL::CNullChannel channel(SL::CWaveFormat::Wave);
  EXPECT_TRUE(channel.IsNull());
  EXPECT_EQ(0, channel.GetLocation().end);
  channel.SetLocation(GT::CRange<long>(0, 1000000000000L));  // nothing is allocated
  EXPECT_EQ(1000000000000L, channel.GetLocation().end);
  channel.SetPan(2.0);
  EXPECT_FALSE(channel.HasNormalized());
  SL::CNullChannel copy(channel);
  EXPECT_TRUE(copy.Equals(channel));
  channel.Normalize();
  EXPECT_EQ(1.0, channel.GetPan());
  EXPECT_EQ(2.0, copy.GetPan());
  copy.Envelope().insert(SL::CEnvelopePoint(1.0, 1.0));
  EXPECT_TRUE(channel.Envelope().empty());
  SL::CNullChannel assigned(SL::CWaveFormat::None);
  assigned = copy;
  EXPECT_TRUE(assigned.Equals(copy));
  assigned.Envelope().clear();
  EXPECT_FALSE(copy.Envelope().empty());
}

TEST(CChannel, CopyAttributeFollowsTheId) {
  CChannel64 source(SL::CWaveFormat::Wave);
  Fill(source, GT::CRange<long>(5, 20), 100.0);
  source.SetPan(-1.0);
  source.SetLevel(0.5);
  source.SetPeakLevel(0.25);
  source.SetName("src");
  source.Envelope().insert(SL::CEnvelopePoint(2.0, 3.0));

  CChannel64 pan(SL::CWaveFormat::Wave);
  Fill(pan, GT::CRange<long>(0, 10), 0.0);
  pan.CopyAttribute(source, SL::CEntityId().Set<SL::IChannel>(0).Attribute(0x80));
  EXPECT_EQ(-1.0, pan.GetPan());
  EXPECT_EQ(0.5, pan.GetLevel());
  EXPECT_EQ(0.25, pan.GetPeakLevel());
  EXPECT_EQ("src", pan.GetName());
  EXPECT_EQ(0, pan.GetLocation().begin);
  EXPECT_EQ(10, pan.GetLocation().end);
  EXPECT_TRUE(pan.Envelope().empty());
  EXPECT_EQ(7.0, *pan.At(7));

  CChannel64 samples(SL::CWaveFormat::Wave);
  Fill(samples, GT::CRange<long>(0, 10), 0.0);
  samples.CopyAttribute(source, SL::CEntityId().Set<SL::IChannel>(0).Attribute(0x10));
  for (long f = 0; f < 5; ++f) EXPECT_EQ(static_cast<double>(f), *samples.At(f));
  for (long f = 5; f < 10; ++f) EXPECT_EQ(100.0 + f, *samples.At(f));
  EXPECT_EQ(10, samples.GetLocation().end);
  EXPECT_EQ(0.0, samples.GetPan());

  CChannel64 disjoint(SL::CWaveFormat::Wave);
  Fill(disjoint, GT::CRange<long>(30, 40), 0.0);
  disjoint.CopyAttribute(source, SL::CEntityId().Set<SL::IChannel>(0).Attribute(0x10));
  EXPECT_EQ(30.0, *disjoint.At(30));

  CChannel64 all(SL::CWaveFormat::Wave);
  all.CopyAttribute(source, SL::IEntity::sCopyAll);
  EXPECT_TRUE(all.Equals(source));

  CChannel64 envelopePoints(SL::CWaveFormat::Wave);
  envelopePoints.CopyAttribute(
      source, SL::CEntityId().Set<SL::IChannel>(0).Set<SL::IEnvelope>(0).Attribute(16));
  ASSERT_EQ(1u, envelopePoints.Envelope().size());
  EXPECT_EQ("", envelopePoints.GetName());

  CChannel64 range(SL::CWaveFormat::Wave);
  range.CopyAttribute(source, SL::CEntityId().Set<SL::IChannel>(-1).Attribute(0x20));
  EXPECT_EQ(5, range.GetLocation().begin);
  EXPECT_EQ(20, range.GetLocation().end);
  EXPECT_EQ(0.0, *range.At(5));  // the range, not the samples
}

TEST(CChannelCollection, InitialiseUsesTheFactory) {
  SL::CChannelCollection plain(SL::CWaveFormat::Wave);
  plain.Initialize(2);
  ASSERT_EQ(2u, plain.size());
  EXPECT_TRUE(plain[0]->IsNull());
  EXPECT_TRUE(plain[1]->GetFormat() == SL::CWaveFormat::Wave);
  plain.Initialize(-1);
  EXPECT_TRUE(plain.empty());

  CTyped64 typed(SL::CWaveFormat::Wave);
  typed.Initialize(2);
  ASSERT_EQ(2u, typed.size());
  EXPECT_FALSE(typed[0].IsNull());
  EXPECT_NE(nullptr, typed.get(1).get());
  EXPECT_TRUE(typed.IsValid());
}

TEST(CChannelCollection, LocationSizesEveryChannel) {
  CTyped64 typed(SL::CWaveFormat::Wave);
  EXPECT_EQ(0, typed.GetLocation().end);
  typed.Initialize(2);
  typed.SetLocation(GT::CRange<long>(0, 100));
  EXPECT_EQ(100, typed.GetLocation().end);
  for (auto it = typed.begin(); it != typed.end(); ++it) {
    ASSERT_EQ(100, it->GetSize());
    EXPECT_EQ(0.0, it->Begin()[99]);
  }
}

TEST(CChannelCollection, StereoAndValidity) {
  SL::CChannelCollection c(SL::CWaveFormat::Wave);
  EXPECT_TRUE(c.IsValid());
  c.Initialize(2);
  EXPECT_FALSE(c.IsStereo());
  c[0]->SetPan(-1.0);
  c[1]->SetPan(1.0);
  EXPECT_TRUE(c.IsStereo());
  std::swap(c[0], c[1]);
  EXPECT_FALSE(c.IsStereo());
  c.push_back(SL::CChannelCollection::CreateChannel(SL::CWaveFormat::Wave));
  EXPECT_FALSE(c.IsStereo());

  EXPECT_TRUE(c.IsValid());
  c[2]->SetLocation(GT::CRange<long>(0, 1));
  EXPECT_FALSE(c.IsValid());
  c[2]->SetLocation(GT::CRange<long>(0, 0));
  c.push_back(SL::CChannelCollection::CreateChannel(SL::CWaveFormat::Fft));
  EXPECT_FALSE(c.IsValid());
  c.back().reset();
  EXPECT_FALSE(c.IsValid());

  CTyped64 typed(SL::CWaveFormat::Wave);
  typed.Implementer().push_back(SL::CChannelCollection::CreateChannel(SL::CWaveFormat::Wave));
  EXPECT_TRUE(typed.IsValid());  // null channels are allowed
  EXPECT_EQ(nullptr, typed.get(0).get());
}

TEST(CChannelCollection, ShallowCopiesShareAndClonesDoNot) {
  CTyped64 source(SL::CWaveFormat::Wave);
  source.Initialize(2);
  source.SetLocation(GT::CRange<long>(0, 4));
  CTyped64 shallow(source, false);
  shallow[0].SetLevel(0.3);
  EXPECT_EQ(0.3, source[0].GetLevel());
  std::unique_ptr<CTyped64> clone(source.Clone());
  EXPECT_TRUE(clone->Equals(source));
  (*clone)[0].SetLevel(0.9);
  EXPECT_EQ(0.3, source[0].GetLevel());
  *(*clone)[1].At(2) = 5.0;
  EXPECT_EQ(0.0, *source[1].At(2));
  clone->Initialize(2);  // the factory came along
  EXPECT_FALSE((*clone)[0].IsNull());

  SL::CChannelCollection plain(SL::CWaveFormat::Wave);
  plain.Initialize(1);
  SL::CChannelCollection assigned(SL::CWaveFormat::None);
  assigned = plain;
  EXPECT_TRUE(assigned.Equals(plain));
  assigned[0]->SetName("x");
  EXPECT_FALSE(assigned.Equals(plain));
  EXPECT_FALSE(plain.Equals(source));  // a typed collection is another class
  EXPECT_FALSE(source.Equals(plain));
}

TEST(CChannelCollection, NormaliseAndCopyAttributeGoChannelByChannel) {
  SL::CChannelCollection c(SL::CWaveFormat::Wave);
  c.Initialize(2);
  c[1]->SetPan(4.0);
  EXPECT_FALSE(c.HasNormalized());
  c.Normalize();
  EXPECT_TRUE(c.HasNormalized());
  EXPECT_EQ(1.0, c[1]->GetPan());

  SL::CChannelCollection source(SL::CWaveFormat::Wave);
  source.Initialize(3);
  source[0]->SetName("a");
  source[1]->SetName("b");
  c.CopyAttribute(source, SL::IEntity::sCopyAll);
  EXPECT_EQ("a", c[0]->GetName());
  EXPECT_EQ("b", c[1]->GetName());
  EXPECT_EQ(2u, c.size());
}

TEST(CChannel, AttributeTexts) {
  EXPECT_EQ("(Level)(Pan)(PeakLevel)", SL::IChannel::ToString(0x1C0));
  EXPECT_EQ("(Text)", SL::IChannel::ToString(0x38));
}

}  // namespace
