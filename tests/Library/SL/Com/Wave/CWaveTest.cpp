// The wave entity: defaults, repair, identifiers, copies, equality and the
// attribute copy between waves.

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/CLoop.h"
#include "SL/Com/Wave/CWave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace SL;
typedef CWave<nFloat64> CWave64;

namespace {

// Every attribute of a wave set apart from the defaults, with two channels.
void Decorate(IWave& wave) {
  wave.SetName("wave");
  wave.SetCaption("caption");
  wave.SetSampleRate(44100.0);
  wave.SetOriginalBitDepth(CBitDepth::Integer24);
  wave.SetRecordNote(61.0);
  wave.SetActualNote(62.0);
  wave.SetPlayNote(63.0);
  wave.SetRecordTempo(90.0);
  wave.SetActualTempo(91.0);
  wave.SetPlayTempo(92.0);
  wave.SetTargetLocation(GT::CRange<long>(3, 4));
  wave.SetFftFrameCount(1024);
  wave.SetIdentifier("a\nb\n");
  wave.SetHistory("made");
  wave.SetHorizontalSelection(GT::CRange<double>(1.0, 2.0));
  wave.SetVerticalSelection(GT::CRange<double>(-0.5, 0.5));
  wave.Loop().SetLoopFrame(7.0);
  wave.Envelope().insert(CEnvelopePoint(1.0, 0.5));
  wave.Channels().Initialize(2);
  wave.SetLocation(GT::CRange<long>(0, 8));
  wave.Channels()[0]->SetPan(-1.0);
  wave.Channels()[1]->SetPan(1.0);
}

}  // namespace

TEST(CWaveTest, ANewWaveHoldsTheDefaults) {
  CWave64 const wave(CWaveFormat::Wave);
  EXPECT_EQ(CWaveFormat::Wave, wave.GetFormat());
  EXPECT_EQ(CBitDepth::Float64, wave.GetBitDepth());
  EXPECT_EQ(CBitDepth::Float64, wave.GetOriginalBitDepth()) << "the instance's own sample type";
  EXPECT_EQ((std::vector<double>{32000.0, 60.0, 60.0, 60.0, 120.0, 120.0, 120.0}),
            (std::vector<double>{wave.GetSampleRate(), wave.GetRecordNote(), wave.GetActualNote(),
                                 wave.GetPlayNote(), wave.GetRecordTempo(), wave.GetActualTempo(),
                                 wave.GetPlayTempo()}));
  EXPECT_EQ(0, wave.GetLocation().end);
  EXPECT_EQ(0, wave.GetTargetLocation().end);
  EXPECT_EQ(0, wave.GetFftFrameCount());
  EXPECT_EQ(0.0, wave.GetHorizontalSelection().end);
  EXPECT_TRUE(wave.Channels().empty() && wave.Identifiers().empty() && wave.GetHistory().empty());
  EXPECT_TRUE(wave.HasNormalized());
  EXPECT_EQ("(HorizontalSelection)(VerticalSelection)", IWave::ToString(0x30));
  EXPECT_EQ("(Activity)(Caption)(VerticalSelection)", IWave::ToString(0x25));
}

TEST(CWaveTest, NormalizeRepairsNegativeValues) {
  struct {
    void (IWave::*set)(double);
    double (IWave::*get)() const;
  } const fields[] = {{&IWave::SetSampleRate, &IWave::GetSampleRate},
                      {&IWave::SetRecordNote, &IWave::GetRecordNote},
                      {&IWave::SetActualNote, &IWave::GetActualNote},
                      {&IWave::SetPlayNote, &IWave::GetPlayNote},
                      {&IWave::SetRecordTempo, &IWave::GetRecordTempo},
                      {&IWave::SetActualTempo, &IWave::GetActualTempo},
                      {&IWave::SetPlayTempo, &IWave::GetPlayTempo}};
  for (auto const& f : fields) {
    for (double bad : {-1.0, -1e9, std::nan("")}) {
      CWave64 wave(CWaveFormat::Wave);
      (wave.*f.set)(bad);
      EXPECT_FALSE(wave.HasNormalized()) << bad;
      wave.Normalize();
      EXPECT_TRUE(wave.HasNormalized());
      EXPECT_EQ(0.0, (wave.*f.get)()) << bad;
    }
  }
  CWave64 wave(CWaveFormat::Wave);
  wave.SetFftFrameCount(-5);
  wave.Channels().Initialize(1);
  wave.Channels()[0]->SetPan(3.0);
  EXPECT_FALSE(wave.HasNormalized());
  wave.Normalize();
  EXPECT_EQ(0, wave.GetFftFrameCount());
  EXPECT_EQ(1.0, wave.Channels()[0]->GetPan());
  wave.SetFftFrameCount(7);
  wave.SetSampleRate(0.0);
  wave.Normalize();
  EXPECT_EQ(7, wave.GetFftFrameCount());
  EXPECT_TRUE(wave.HasNormalized()) << "zero is a rate";
}

TEST(CWaveTest, IdentifiersAreTheLinesOfTheText) {
  struct {
    char const* text;
    std::vector<std::string> identifiers;
    char const* back;
  } const cases[] = {{"a\nb\n", {"a", "b"}, "a\nb\n"},
                     {"a\n\nb", {"a", "", "b"}, "a\n\nb\n"},
                     {"", {}, ""},
                     {"\n", {""}, "\n"}};
  for (auto const& c : cases) {
    CWave64 wave(CWaveFormat::Wave);
    wave.SetIdentifier("old\n");
    wave.SetIdentifier(c.text);
    EXPECT_EQ(c.identifiers, wave.Identifiers()) << c.text;
    EXPECT_EQ(c.back, wave.GetIdentifier()) << c.text;
  }
}

TEST(CWaveTest, CopiesEqualityAndSharedParts) {
  CWave64 wave(CWaveFormat::Wave);
  Decorate(wave);
  EXPECT_EQ(8, wave.GetLocation().end);
  EXPECT_EQ(8, wave.Channels().GetLocation().end);
  EXPECT_EQ(8, wave.GetChannels()->GetLocation().end);
  std::unique_ptr<CWave64> const clone(wave.Clone());
  CWave64 shallow(wave, false);
  EXPECT_TRUE(clone->Equals(wave) && shallow.Equals(wave));
  clone->Loop().SetLoopFrame(1.0);
  clone->Envelope().clear();
  clone->Channels()[0]->SetLevel(0.25);
  EXPECT_EQ(7.0, wave.Loop().GetLoopFrame());
  EXPECT_EQ(1u, wave.Envelope().size());
  EXPECT_EQ(1.0, wave.Channels()[0]->GetLevel());
  shallow.Channels()[0]->SetLevel(0.25);
  EXPECT_EQ(0.25, wave.Channels()[0]->GetLevel()) << "a shallow copy shares its channels";
  shallow.SetName("other");
  EXPECT_EQ("wave", wave.GetName());

  std::function<void(IWave&)> const changes[] = {
      [](IWave& w) { w.SetVerticalSelection(GT::CRange<double>(-0.5, 0.6)); },
      [](IWave& w) { w.SetHorizontalSelection(GT::CRange<double>(0.0, 2.0)); },
      [](IWave& w) { w.SetSampleRate(std::nan("")); },
      [](IWave& w) { w.SetOriginalBitDepth(CBitDepth::Integer16); },
      [](IWave& w) { w.SetPlayNote(0.0); },
      [](IWave& w) { w.SetActualTempo(0.0); },
      [](IWave& w) { w.SetTargetLocation(GT::CRange<long>(3, 5)); },
      [](IWave& w) { w.SetFftFrameCount(1); },
      [](IWave& w) { w.SetIdentifier("a\n"); },
      [](IWave& w) { w.SetHistory(""); },
      [](IWave& w) { w.SetText("t"); },
      [](IWave& w) { w.Loop().SetEndFrame(1.0); },
      [](IWave& w) { w.Envelope().clear(); },
      [](IWave& w) { w.Channels()[1]->SetPan(0.0); },
      [](IWave& w) { w.SetLocation(GT::CRange<long>(0, 9)); }};
  for (auto const& change : changes) {
    std::unique_ptr<CWave64> other(wave.Clone());
    change(*other);
    EXPECT_FALSE(other->Equals(wave));
  }
  EXPECT_FALSE(wave.Equals(wave.Loop()));
  EXPECT_FALSE(wave.Equals(wave.Channels()));

  // The setters share what they are given.
  boost::shared_ptr<ILoop> const loop(new CLoop);
  boost::shared_ptr<CEnvelope> const envelope(new CEnvelope(CWaveFormat::None));
  boost::shared_ptr<CChannelCollection> const channels(new CChannelCollection(CWaveFormat::Wave));
  wave.SetLoop(loop);
  wave.SetEnvelope(envelope);
  wave.SetChannels(channels);
  EXPECT_TRUE(wave.GetLoop() == loop && &wave.Loop() == loop.get());
  EXPECT_TRUE(wave.GetEnvelope() == envelope && &wave.Envelope() == envelope.get());
  EXPECT_TRUE(wave.GetChannels() == channels && &wave.Channels() == channels.get());
  CWave64 const& constant = wave;
  EXPECT_TRUE(&constant.Loop() == loop.get() && &constant.Envelope() == envelope.get() &&
              &constant.Channels() == channels.get());
  EXPECT_EQ(0, wave.GetLocation().end);
}

TEST(CWaveTest, CopyAttributeCopiesTheSelectedGroups) {
  struct {
    char const* name;
    CEntityId id;
    bool main, horizontal, vertical, channels, envelope, loop;
  } const cases[] = {
      {"all", IEntity::sCopyAll, true, true, true, true, true, true},
      {"whole wave", CEntityId().Set<IWave>(0), true, true, true, true, true, true},
      {"name", CEntityId().Set<IWave>(0).Attribute(0x2), true, false, false, false, false, false},
      {"horizontal", CEntityId().Set<IWave>(0).Attribute(0x10), false, true, false, false, false,
       false},
      {"vertical", CEntityId().Set<IWave>(0).Attribute(0x20), false, false, true, false, false,
       false},
      {"channel pans", CEntityId().Set<IWave>(0).Set<IChannel>(-1).Attribute(0x80), false, false,
       false, true, false, false},
      {"envelope", CEntityId().Set<IWave>(0).Set<IEnvelope>(0), false, false, false, false, true,
       false},
      {"loop", CEntityId().Set<IWave>(0).Set<ILoop>(0), false, false, false, false, false, true},
      {"a channel alone", CEntityId().Set<IChannel>(0), false, false, false, false, false, false}};
  for (auto const& c : cases) {
    CWave64 source(CWaveFormat::Wave), target(CWaveFormat::Wave);
    Decorate(source);
    target.Channels().Initialize(2);
    target.SetLocation(GT::CRange<long>(0, 3));
    target.CopyAttribute(source, c.id);
    EXPECT_EQ(c.main, target.GetName() == "wave") << c.name;
    EXPECT_EQ(c.main ? 44100.0 : 32000.0, target.GetSampleRate()) << c.name;
    EXPECT_EQ(c.main ? CBitDepth::Integer24 : CBitDepth::Float64, target.GetOriginalBitDepth())
        << c.name;
    EXPECT_EQ(c.main ? 63.0 : 60.0, target.GetPlayNote()) << c.name;
    EXPECT_EQ(c.main ? 90.0 : 120.0, target.GetRecordTempo()) << c.name;
    EXPECT_EQ(c.main ? 4 : 0, target.GetTargetLocation().end) << c.name;
    EXPECT_EQ(c.main ? 1024 : 0, target.GetFftFrameCount()) << c.name;
    EXPECT_EQ(c.main ? "a\nb\n" : "", target.GetIdentifier()) << c.name;
    EXPECT_EQ(c.main ? "made" : "", target.GetHistory()) << c.name;
    EXPECT_EQ(c.horizontal ? 2.0 : 0.0, target.GetHorizontalSelection().end) << c.name;
    EXPECT_EQ(c.vertical ? -0.5 : 0.0, target.GetVerticalSelection().begin) << c.name;
    EXPECT_EQ(c.channels, target.Channels().IsStereo()) << c.name;
    EXPECT_EQ(c.envelope ? 1u : 0u, target.Envelope().size()) << c.name;
    EXPECT_EQ(c.loop ? 7.0 : 0.0, target.Loop().GetLoopFrame()) << c.name;
    EXPECT_EQ(c.channels && c.main ? 8 : 3, target.GetLocation().end)
        << c.name << ": only the channels' own range copy moves the location";
  }
}

TEST(CWaveTest, RecordsAssignDeep) {
  AWave wave;
  wave.mSampleRate = 8000.0;
  wave.mIdentifiers = {"x"};
  AWave copy;
  copy = wave;
  EXPECT_TRUE(copy == wave);
  EXPECT_NE(copy.mLoop, wave.mLoop);
  EXPECT_NE(copy.mEnvelope, wave.mEnvelope);
  EXPECT_TRUE(copy.ClassInvariant());
  AChannel channel(CWaveFormat::Wave), other;
  channel.mPan = -1.0;
  other = channel;
  EXPECT_TRUE(other == channel && other.ClassInvariant());
  EXPECT_NE(other.mEnvelope, channel.mEnvelope);
}
