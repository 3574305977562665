#include "SL/Com/Wave/CWave.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CLoop.h"
#include "SL/Com/Wave/Domain.h"

namespace {

typedef SL::CWave<0x20040> CWave64;

TEST(CWave, NewWaveDefaults) {
  CWave64 wave(SL::CWaveFormat::Wave);
  EXPECT_TRUE(wave.GetFormat() == SL::CWaveFormat::Wave);
  EXPECT_EQ(32000.0, wave.GetSampleRate());
  EXPECT_EQ(60.0, wave.GetRecordNote());
  EXPECT_EQ(60.0, wave.GetActualNote());
  EXPECT_EQ(60.0, wave.GetPlayNote());
  EXPECT_EQ(120.0, wave.GetRecordTempo());
  EXPECT_EQ(120.0, wave.GetPlayTempo());
  EXPECT_TRUE(wave.GetOriginalBitDepth() == SL::CBitDepth::Float64);
  EXPECT_TRUE(wave.GetBitDepth() == SL::CBitDepth::Float64);
  EXPECT_EQ(0, wave.GetLocation().begin);
  EXPECT_EQ(0, wave.GetLocation().end);
  EXPECT_TRUE(wave.HasNormalized());
  EXPECT_TRUE(wave.Channels().empty());
}

TEST(CWave, NormaliseRepairsNegativeAndNanValues) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.SetSampleRate(-1.0);
  EXPECT_FALSE(wave.HasNormalized());
  wave.Normalize();
  EXPECT_EQ(0.0, wave.GetSampleRate());
  EXPECT_TRUE(wave.HasNormalized());

  wave.SetPlayTempo(std::numeric_limits<double>::quiet_NaN());
  wave.SetActualNote(-3.0);
  wave.SetFftFrameCount(-5);
  EXPECT_FALSE(wave.HasNormalized());
  wave.Normalize();
  EXPECT_EQ(0.0, wave.GetPlayTempo());
  EXPECT_EQ(0.0, wave.GetActualNote());
  EXPECT_EQ(0, wave.GetFftFrameCount());
  wave.SetFftFrameCount(7);
  wave.Normalize();
  EXPECT_EQ(7, wave.GetFftFrameCount());

  wave.Loop().SetLoopFrame(10.0);
  wave.Loop().SetEndFrame(2.0);
  wave.Channels().Initialize(1);
  wave.Channels()[0]->SetPan(9.0);
  EXPECT_FALSE(wave.HasNormalized());
  wave.Normalize();
  EXPECT_EQ(2.0, wave.Loop().GetLoopFrame());
  EXPECT_EQ(1.0, wave.Channels()[0]->GetPan());
  EXPECT_TRUE(wave.HasNormalized());
}

TEST(CWave, IdentifiersAreLines) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.SetIdentifier("a\nb\n");
  ASSERT_EQ(2u, wave.Identifiers().size());
  EXPECT_EQ("a", wave.Identifiers()[0]);
  EXPECT_EQ("a\nb\n", wave.GetIdentifier());
  wave.SetIdentifier("a\n\nb");
  ASSERT_EQ(3u, wave.Identifiers().size());
  EXPECT_EQ("", wave.Identifiers()[1]);
  wave.SetIdentifier("");
  EXPECT_TRUE(wave.Identifiers().empty());
  EXPECT_EQ("", wave.GetIdentifier());
}

TEST(CWave, LocationIsTheChannels) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.Channels().Initialize(2);
  wave.SetLocation(GT::CRange<long>(0, 100));
  EXPECT_EQ(100, wave.GetLocation().end);
  EXPECT_EQ(100, wave.Channels().GetLocation().end);
  EXPECT_FALSE(wave.Channels()[0]->IsNull());  // the typed factory makes sample channels

  boost::shared_ptr<SL::CChannelCollection> nulls(
      new SL::CChannelCollection(SL::CWaveFormat::Wave));
  nulls->Initialize(1);
  nulls->SetLocation(GT::CRange<long>(0, 7));
  wave.SetChannels(nulls);
  EXPECT_EQ(nulls, wave.GetChannels());
  EXPECT_EQ(7, wave.GetLocation().end);
  EXPECT_EQ(1u, wave.Channels().size());
}

TEST(CWave, ClonesShareNothingMutable) {
  CWave64 wave(SL::CWaveFormat::Wave);
  wave.Channels().Initialize(2);
  wave.SetLocation(GT::CRange<long>(0, 10));
  wave.Loop().SetEndFrame(9.0);
  wave.Envelope().insert(SL::CEnvelopePoint(1.0, 2.0));
  wave.SetName("w");
  std::unique_ptr<CWave64> clone(wave.Clone());
  EXPECT_TRUE(clone->Equals(wave));

  clone->Loop().SetLoopFrame(4.0);
  clone->Envelope()[0].y = 8.0;
  clone->Channels()[1]->SetLevel(0.1);
  static_cast<SL::CChannel<0x20040>&>(*clone->Channels()[0]).Begin()[3] = 1.0;
  clone->SetName("v");
  EXPECT_EQ(0.0, wave.Loop().GetLoopFrame());
  EXPECT_EQ(2.0, wave.Envelope()[0].y);
  EXPECT_EQ(1.0, wave.Channels()[1]->GetLevel());
  EXPECT_EQ(0.0, static_cast<SL::CChannel<0x20040>&>(*wave.Channels()[0]).Begin()[3]);
  EXPECT_EQ("w", wave.GetName());
  EXPECT_FALSE(clone->Equals(wave));

  CWave64 shallow(wave, false);
  shallow.Channels()[0]->SetLevel(0.5);
  EXPECT_EQ(0.5, wave.Channels()[0]->GetLevel());
  shallow.Loop().SetEndFrame(1.0);
  EXPECT_EQ(9.0, wave.Loop().GetEndFrame());
}

TEST(CWave, EqualsNeedsAWaveAndEveryField) {
  CWave64 a(SL::CWaveFormat::Wave);
  CWave64 b(SL::CWaveFormat::Wave);
  EXPECT_TRUE(a.Equals(b));
  b.SetVerticalSelection(GT::CRange<double>(0.0, 1.0));
  EXPECT_FALSE(a.Equals(b));
  EXPECT_FALSE(a.Equals(a.Loop()));
  EXPECT_FALSE(a.Equals(a.Channels()));
  CWave64 c(SL::CWaveFormat::Wave);
  c.SetIdentifier("x");
  EXPECT_FALSE(a.Equals(c));
  CWave64 d(SL::CWaveFormat::Wave);
  d.Loop().SetLoopTune(0.5);
  EXPECT_FALSE(a.Equals(d));
}

TEST(CWave, CopyAttributeByWaveChannelEnvelopeAndLoop) {
  CWave64 source(SL::CWaveFormat::Wave);
  source.SetSampleRate(44100.0);
  source.SetName("src");
  source.SetHorizontalSelection(GT::CRange<double>(1.0, 2.0));
  source.SetVerticalSelection(GT::CRange<double>(3.0, 4.0));
  source.SetIdentifier("id\n");
  source.Channels().Initialize(2);
  source.SetLocation(GT::CRange<long>(0, 5));
  source.Channels()[1]->SetPan(1.0);
  source.Loop().SetEndFrame(4.0);
  source.Envelope().insert(SL::CEnvelopePoint(1.0, 1.0));

  CWave64 all(SL::CWaveFormat::Wave);
  all.Channels().Initialize(2);
  all.SetLocation(GT::CRange<long>(0, 5));
  all.CopyAttribute(source, SL::IEntity::sCopyAll);
  EXPECT_EQ(44100.0, all.GetSampleRate());
  EXPECT_EQ("id\n", all.GetIdentifier());
  EXPECT_EQ(2.0, all.GetHorizontalSelection().end);
  EXPECT_EQ(1.0, all.Channels()[1]->GetPan());
  EXPECT_EQ(4.0, all.Loop().GetEndFrame());
  EXPECT_EQ(1u, all.Envelope().size());
  EXPECT_TRUE(all.Equals(source));

  CWave64 selection(SL::CWaveFormat::Wave);
  selection.CopyAttribute(source, SL::CEntityId().Set<SL::IWave>(0).Attribute(0x20));
  EXPECT_EQ(4.0, selection.GetVerticalSelection().end);
  EXPECT_EQ(0.0, selection.GetHorizontalSelection().end);
  EXPECT_EQ(32000.0, selection.GetSampleRate());

  CWave64 loopOnly(SL::CWaveFormat::Wave);
  loopOnly.CopyAttribute(source,
                         SL::CEntityId().Set<SL::IWave>(0).Set<SL::ILoop>(0).Attribute(0x40));
  EXPECT_EQ(4.0, loopOnly.Loop().GetEndFrame());
  EXPECT_EQ("", loopOnly.GetName());
  EXPECT_TRUE(loopOnly.Envelope().empty());

  CWave64 pans(SL::CWaveFormat::Wave);
  pans.Channels().Initialize(2);
  pans.CopyAttribute(source,
                     SL::CEntityId().Set<SL::IWave>(0).Set<SL::IChannel>(1).Attribute(0x80));
  EXPECT_EQ(1.0, pans.Channels()[1]->GetPan());
  EXPECT_EQ(0, pans.GetLocation().end);  // the frame range was not asked for
  EXPECT_EQ(32000.0, pans.GetSampleRate());

  CWave64 envelope(SL::CWaveFormat::Wave);
  envelope.CopyAttribute(source,
                         SL::CEntityId().Set<SL::IWave>(0).Set<SL::IEnvelope>(0).Attribute(16));
  EXPECT_EQ(1u, envelope.Envelope().size());
  EXPECT_EQ(4.0, source.Loop().GetEndFrame());
  EXPECT_EQ(0.0, envelope.Loop().GetEndFrame());
}

TEST(CWave, AttributeTexts) {
  EXPECT_EQ("(HorizontalSelection)(VerticalSelection)", SL::IWave::ToString(0x30));
  EXPECT_EQ("(Activity)(HorizontalSelection)", SL::IWave::ToString(0x11));
}

TEST(Domain, WaveHookRunsAfterTheWavesOwnRules) {
  struct CRejectingWaves : SL::IEntityDescription<SL::IWave> {
    void Normalize(SL::IWave& wave) override { wave.SetSampleRate(48000.0); }
    bool HasNormalized(SL::IWave const& wave) override { return wave.GetSampleRate() == 48000.0; }
  };
  struct CDomain : SL::IDomain {
    CRejectingWaves wave;
    // The default descriptions live until exit, beyond the default domain.
    SL::IEntityDescription<SL::IChannel>& channel = SL::Domain().ChannelDescription();
    SL::IEntityDescription<SL::IEnvelope>& envelope = SL::Domain().EnvelopeDescription();
    SL::IEntityDescription<SL::ILoop>& loop = SL::Domain().LoopDescription();
    SL::IEntityDescription<SL::IWave>& WaveDescription() override { return wave; }
    SL::IEntityDescription<SL::IChannel>& ChannelDescription() override { return channel; }
    SL::IEntityDescription<SL::IEnvelope>& EnvelopeDescription() override { return envelope; }
    SL::IEntityDescription<SL::ILoop>& LoopDescription() override { return loop; }
  };
  boost::shared_ptr<CDomain> domain(new CDomain);
  SL::InitializeDomain(domain);
  CWave64 wave(SL::CWaveFormat::Wave);
  EXPECT_EQ(48000.0, wave.GetSampleRate());
  wave.SetSampleRate(-1.0);
  wave.Normalize();  // own rule to 0, then the hook
  EXPECT_EQ(48000.0, wave.GetSampleRate());
  wave.SetSampleRate(44100.0);
  EXPECT_FALSE(wave.HasNormalized());
  SL::InitializeDomain();
  EXPECT_TRUE(wave.HasNormalized());
}

}  // namespace
