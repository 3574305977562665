// Channels (with and without samples) and the channel collections: defaults,
// repair, deep copies, equality, attribute copies, stereo and validity.

#include "SL/Com/Format/BitDepthCodes.h"
#include "SL/Com/Wave/CChannel.h"
#include "SL/Com/Wave/CChannelCollection.h"
#include "SL/Com/Wave/CNullChannel.h"
#include "SL/Com/Wave/CTypedChannelCollection.h"
#include "SL/Com/Wave/IWave.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace SL;
typedef CChannel<nFloat64> CChannel64;

namespace {

// A channel of frames [begin, end) whose sample at frame f is base + f.
CChannel64 Ramp(long begin, long end, double base) {
  CChannel64 channel(CWaveFormat::Wave);
  channel.SetLocation(GT::CRange<long>(begin, end));
  for (long f = begin; f < end; ++f) *channel.At(f) = base + static_cast<double>(f);
  return channel;
}

// Every attribute of a channel set apart from the defaults.
void Decorate(IChannel& channel) {
  channel.SetActive(true);
  channel.SetName("name");
  channel.SetCaption("caption");
  channel.SetText("text");
  channel.SetLevel(0.5);
  channel.SetPan(-0.25);
  channel.SetPeakLevel(0.75);
  channel.Envelope().insert(CEnvelopePoint(3.0, 0.5));
}

std::vector<double> Samples(CChannel64 const& channel) {
  return std::vector<double>(channel.begin(), channel.end());
}

}  // namespace

TEST(CChannelTest, BothKindsStartAtTheDefaultsAndRepairOnlyThePan) {
  CChannel64 full(CWaveFormat::Wave);
  CNullChannel null(CWaveFormat::Wave);
  for (IChannel* channel : std::vector<IChannel*>{&full, &null}) {
    EXPECT_EQ(channel == &null, channel->IsNull());
    EXPECT_EQ(CWaveFormat::Wave, channel->GetFormat());
    EXPECT_EQ(
        (std::vector<double>{1.0, 0.0, 1.0}),
        (std::vector<double>{channel->GetLevel(), channel->GetPan(), channel->GetPeakLevel()}));
    EXPECT_TRUE(!channel->IsActive() && channel->GetName().empty());
    EXPECT_TRUE(channel->Envelope().empty());
    EXPECT_EQ(0, channel->GetLocation().begin);
    EXPECT_EQ(0, channel->GetLocation().end);
    EXPECT_TRUE(channel->HasNormalized());
    struct {
      double pan, repaired;
    } const pans[] = {{1.5, 1.0}, {-3.0, -1.0}, {0.25, 0.25}, {-1.0, -1.0}};
    for (auto const& p : pans) {
      channel->SetPan(p.pan);
      channel->SetLevel(7.0);
      EXPECT_EQ(std::fabs(p.pan) <= 1.0, channel->HasNormalized()) << p.pan;
      channel->Normalize();
      EXPECT_EQ(p.repaired, channel->GetPan());
      EXPECT_EQ(7.0, channel->GetLevel()) << "the level is never repaired";
      EXPECT_TRUE(channel->HasNormalized());
    }
    // Shared envelope until the channel is copied.
    boost::shared_ptr<CEnvelope> envelope(new CEnvelope(CWaveFormat::None));
    channel->SetEnvelope(envelope);
    EXPECT_EQ(envelope, channel->GetEnvelope());
    EXPECT_EQ(envelope.get(), &channel->Envelope());
  }
  EXPECT_EQ("(Level)(Pan)(PeakLevel)", IChannel::ToString(0x1C0));
  EXPECT_EQ("(Activity)(Text)(Pan)", IChannel::ToString(0x89));
  EXPECT_EQ("", IChannel::ToString(0x30));
}

TEST(CChannelTest, CopiesOwnTheirRecordsEnvelopeAndSamples) {
  CChannel64 original = Ramp(2, 6, 10.0);
  Decorate(original);
  CChannel64 copy(original);
  CChannel64 assigned(CWaveFormat::None);
  assigned = original;
  CChannel64 const withoutSamples(original, false);
  std::unique_ptr<CChannel64> const clone(original.Clone());
  for (CChannel64* c : {&copy, &assigned, clone.get()}) {
    EXPECT_TRUE(*c == original);
    c->SetLevel(0.1);
    c->SetName("other");
    c->Envelope().insert(CEnvelopePoint(9.0, 1.0));
    *c->At(2) = -1.0;
  }
  EXPECT_EQ(0.5, original.GetLevel());
  EXPECT_EQ("name", original.GetName());
  EXPECT_EQ(1u, original.Envelope().size());
  EXPECT_EQ((std::vector<double>{12.0, 13.0, 14.0, 15.0}), Samples(original));
  EXPECT_EQ(2, withoutSamples.GetLocation().begin);
  EXPECT_EQ(2, withoutSamples.GetLocation().end);
  EXPECT_EQ(0.5, withoutSamples.GetLevel());
  EXPECT_NE(&original.Envelope(), &withoutSamples.Envelope());

  CNullChannel null(CWaveFormat::Wave);
  Decorate(null);
  null.SetLocation(GT::CRange<long>(4, 9));
  CNullChannel nullCopy(null), nullAssigned(CWaveFormat::None);
  nullAssigned = null;
  std::unique_ptr<CNullChannel> const nullClone(null.Clone());
  for (CNullChannel* c : {&nullCopy, &nullAssigned, nullClone.get()}) {
    EXPECT_TRUE(c->Equals(null));
    c->Envelope().clear();
  }
  EXPECT_EQ(1u, null.Envelope().size());
  EXPECT_EQ(9, nullAssigned.GetLocation().end);
}

TEST(CChannelTest, EqualityNeedsTheSameClassRecordsSamplesAndFirstFrame) {
  CChannel64 const a = Ramp(0, 3, 1.0);
  std::function<void(CChannel64&)> const changes[] = {
      [](CChannel64& c) { c.SetLocation(GT::CRange<long>(1, 4)); },  // same values, shifted
      [](CChannel64& c) { c.SetLocation(GT::CRange<long>(0, 4)); },
      [](CChannel64& c) { *c.At(1) = std::nan(""); },
      [](CChannel64& c) { c.SetPeakLevel(0.0); },
      [](CChannel64& c) { c.SetText("t"); },
      [](CChannel64& c) { c.Envelope().insert(CEnvelopePoint()); }};
  for (auto const& change : changes) {
    CChannel64 b(a);
    change(b);
    EXPECT_FALSE(b == a);
    EXPECT_FALSE(a.Equals(b));
  }
  CChannel64 nan = Ramp(0, 1, 0.0);
  *nan.At(0) = std::nan("");
  EXPECT_FALSE(nan.Equals(CChannel64(nan))) << "a NaN sample equals nothing";
  CNullChannel null(CWaveFormat::Wave), other(CWaveFormat::Wave);
  EXPECT_FALSE(null.Equals(CChannel64(CWaveFormat::Wave)));
  EXPECT_FALSE(CChannel64(CWaveFormat::Wave).Equals(null));
  other.SetLocation(GT::CRange<long>(0, 1));
  EXPECT_FALSE(null.Equals(other));
  other.Swap(null);
  EXPECT_EQ(1, null.GetLocation().end);
  // A moved range keeps the samples at their index: resized at the end.
  CChannel64 ramp = Ramp(0, 4, 0.0);
  ramp.SetLocation(GT::CRange<long>(10, 12));
  EXPECT_EQ((std::vector<double>{0.0, 1.0}), Samples(ramp));
  ramp.SetLocation(GT::CRange<long>(10, 13));
  EXPECT_EQ((std::vector<double>{0.0, 1.0, 0.0}), Samples(ramp));
}

TEST(CChannelTest, CopyAttributeCopiesWhatTheIdSelects) {
  // This channel holds frames [0, 10) = 0..9, the source [5, 20) = 105..119.
  std::vector<double> kept, overlap, resized, all;
  for (int f = 0; f < 15; ++f) {
    if (f < 10) kept.push_back(f);
    if (f < 10) overlap.push_back(f < 5 ? f : 100 + f);
    resized.push_back(f < 10 ? f : 0.0);
    all.push_back(105 + f);
  }
  struct {
    char const* name;
    CEntityId id;
    bool attributes, envelope;
    long begin;
    std::vector<double> samples;
  } const cases[] = {
      {"pan", CEntityId().Set<IChannel>(0).Attribute(0x80), true, false, 0, kept},
      {"name", CEntityId().Set<IChannel>(0).Attribute(0x2), true, false, 0, kept},
      {"samples", CEntityId().Set<IChannel>(0).Attribute(0x10), false, false, 0, overlap},
      {"range", CEntityId().Set<IChannel>(0).Attribute(0x20), false, false, 5, resized},
      {"envelope", CEntityId().Set<IChannel>(0).Set<IEnvelope>(0), false, true, 0, kept},
      {"all", IEntity::sCopyAll, true, true, 5, all},
      {"a wave's", CEntityId().Set<IWave>(0).Attribute(0x80), false, false, 0, kept}};
  for (auto const& c : cases) {
    CChannel64 target = Ramp(0, 10, 0.0);
    CChannel64 source = Ramp(5, 20, 100.0);
    Decorate(source);
    target.CopyAttribute(source, c.id);
    EXPECT_EQ(c.attributes, target.GetName() == "name") << c.name;
    EXPECT_EQ(c.attributes ? "text" : "", target.GetText()) << c.name;
    EXPECT_EQ((std::vector<double>{c.attributes ? 0.5 : 1.0, c.attributes ? -0.25 : 0.0,
                                   c.attributes ? 0.75 : 1.0}),
              (std::vector<double>{target.GetLevel(), target.GetPan(), target.GetPeakLevel()}))
        << c.name;
    EXPECT_EQ(c.envelope, target.Envelope() == source.Envelope()) << c.name;
    EXPECT_EQ(c.begin, target.GetLocation().begin) << c.name;
    EXPECT_EQ(c.samples, Samples(target)) << c.name;
  }
  // Between a channel with samples and one without only the attributes and
  // the range come over.
  CChannel64 ramp = Ramp(5, 20, 100.0);
  CNullChannel null(CWaveFormat::Wave);
  Decorate(null);
  ramp.CopyAttribute(null, IEntity::sCopyAll);
  EXPECT_EQ("name", ramp.GetName());
  EXPECT_EQ(0, ramp.GetLocation().end);
  CNullChannel into(CWaveFormat::Wave);
  into.CopyAttribute(Ramp(5, 20, 0.0), IEntity::sCopyAll);
  EXPECT_EQ(5, into.GetLocation().begin);
  EXPECT_EQ(20, into.GetLocation().end);
}
