#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Wave/CLoop.h"
#include "SL/Com/Wave/Domain.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CPlainObject : public SL::CObject {};

template <class T>
class CRecordingRule : public SL::IEntityDescription<T> {
public:
  void Normalize(T&) override { ++mNormalized; }
  bool HasNormalized(T const&) override {
    ++mAsked;
    return mAnswer;
  }
  int mNormalized = 0;
  int mAsked = 0;
  bool mAnswer = false;
};

// A domain whose rules count their calls and refuse every entity.
class CRecordingDomain : public SL::IDomain {
public:
  SL::IEntityDescription<SL::IWave>& WaveDescription() override { return mWave; }
  SL::IEntityDescription<SL::IChannel>& ChannelDescription() override { return mChannel; }
  SL::IEntityDescription<SL::IEnvelope>& EnvelopeDescription() override { return mEnvelope; }
  SL::IEntityDescription<SL::ILoop>& LoopDescription() override { return mLoop; }

  CRecordingRule<SL::IWave> mWave;
  CRecordingRule<SL::IChannel> mChannel;
  CRecordingRule<SL::IEnvelope> mEnvelope;
  CRecordingRule<SL::ILoop> mLoop;
};

class EntityBase : public ::testing::Test {
protected:
  void TearDown() override { SL::InitializeDomain(); }
};

}  // namespace

TEST_F(EntityBase, ToStringJoinsTheAttributeTextsInBitOrder) {
  struct {
    int attributes;
    char const* text;
  } const rows[] = {
      {0, ""},
      {1, "(Activity)"},
      {6, "(Name)(Caption)"},
      {8, "(Text)"},
      {15, "(Activity)(Name)(Caption)(Text)"},
      {0x30, ""},
  };
  for (auto const& row : rows) EXPECT_EQ(row.text, SL::IEntity::ToString(row.attributes));
}

TEST_F(EntityBase, CopyAttributeCopiesTheFourCommonAttributesOnly) {
  SL::CLoop source;
  source.SetActive(true);
  source.SetName("name");
  source.SetCaption("caption");
  source.SetText("text");
  source.SetEndFrame(9.0);
  SL::CEnvelope target(SL::CWaveFormat::None);
  static_cast<SL::IEntity&>(target).CopyAttribute(source);
  EXPECT_TRUE(target.IsActive());
  EXPECT_EQ("name", target.GetName());
  EXPECT_EQ("caption", target.GetCaption());
  EXPECT_EQ("text", target.GetText());
  SL::CLoop loop;
  static_cast<SL::IEntity&>(loop).CopyAttribute(source);
  EXPECT_EQ(0.0, loop.GetEndFrame());
  EXPECT_EQ("caption", loop.GetCaption());
}

TEST_F(EntityBase, AEntityDefaultsAndEquality) {
  SL::AEntity const a;
  EXPECT_FALSE(a.mActive);
  EXPECT_EQ("", a.mName + a.mCaption + a.mText);
  SL::AEntity b;
  EXPECT_TRUE(a == b);
  b.mCaption = "x";
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(a != b);
  SL::AEntity c;
  c = b;
  EXPECT_TRUE(c == b);
  c.Swap(b);
  EXPECT_EQ("x", b.mCaption);
  b.mActive = true;
  EXPECT_FALSE(b == c);
}

TEST_F(EntityBase, CObjectDefaultsCloneNothingAndCompareByIdentity) {
  CPlainObject const object;
  CPlainObject const copy(object);
  EXPECT_EQ(nullptr, object.Clone());
  EXPECT_TRUE(object.Equals(object));
  EXPECT_FALSE(object.Equals(copy));
  EXPECT_TRUE(SL::IEntity::sCopyAll.IsEmpty());
}

TEST_F(EntityBase, DomainIsCreatedOnceAndItsHooksEndNormalizing) {
  SL::IDomain& first = SL::Domain();
  EXPECT_EQ(&first, &SL::Domain());
  EXPECT_EQ(&first.LoopDescription(), &SL::Domain().LoopDescription());
  EXPECT_EQ(&first.WaveDescription(), &SL::Domain().WaveDescription());
  EXPECT_EQ(&first.ChannelDescription(), &SL::Domain().ChannelDescription());

  auto domain = boost::shared_ptr<CRecordingDomain>(new CRecordingDomain);
  SL::InitializeDomain(domain);
  EXPECT_EQ(domain.get(), &SL::Domain());
  SL::CLoop loop;  // the constructor normalises
  EXPECT_EQ(1, domain->mLoop.mNormalized);
  // The domain is asked only when the loop's own rules hold.
  EXPECT_FALSE(loop.HasNormalized());
  EXPECT_EQ(1, domain->mLoop.mAsked);
  loop.SetLoopFrame(5.0);
  EXPECT_FALSE(loop.HasNormalized());
  EXPECT_EQ(1, domain->mLoop.mAsked);
  domain->mLoop.mAnswer = true;
  loop.RoundFrame();
  EXPECT_EQ(2, domain->mLoop.mNormalized);
  EXPECT_TRUE(loop.HasNormalized());

  SL::CEnvelope envelope(SL::CWaveFormat::Wave);
  EXPECT_EQ(1, domain->mEnvelope.mNormalized);
  EXPECT_FALSE(envelope.HasNormalized());
  envelope.Normalize();
  EXPECT_EQ(2, domain->mEnvelope.mNormalized);

  // The default domain again: no rules of its own, every entity passes.
  SL::InitializeDomain();
  EXPECT_NE(domain.get(), &SL::Domain());
  EXPECT_TRUE(envelope.HasNormalized());
  EXPECT_TRUE(loop.HasNormalized());
}
