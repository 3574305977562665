#include <gtest/gtest.h>

#include "SL/Com/Wave/AEntity.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Wave/CLoop.h"
#include "SL/Com/Wave/Domain.h"
#include "SL/Com/Wave/IEntity.h"

namespace {

TEST(Entity, AttributeTextsJoinWithoutSeparator) {
  EXPECT_EQ("", SL::IEntity::ToString(0));
  EXPECT_EQ("(Activity)(Name)(Caption)(Text)", SL::IEntity::ToString(15));
  EXPECT_EQ("(Name)(Caption)", SL::IEntity::ToString(6));
  EXPECT_EQ("", SL::IEntity::ToString(0x10));
}

TEST(Entity, RecordDefaultsAndEquality) {
  SL::AEntity a;
  SL::AEntity b;
  EXPECT_FALSE(a.mActive);
  EXPECT_TRUE(a.mName.empty() && a.mCaption.empty() && a.mText.empty());
  EXPECT_TRUE(a == b);
  b.mCaption = "c";
  EXPECT_FALSE(a == b);
  a = b;
  EXPECT_TRUE(a == b);
  b.mCaption[0] = 'd';
  EXPECT_EQ("c", a.mCaption);
}

TEST(Entity, CopyAttributeCopiesTheFourCommonAttributes) {
  SL::CLoop source;
  source.SetActive(true);
  source.SetName("n");
  source.SetCaption("c");
  source.SetText("t");
  source.SetEndFrame(99.0);
  SL::CLoop target;
  static_cast<SL::IEntity&>(target).CopyAttribute(source);
  EXPECT_TRUE(target.IsActive());
  EXPECT_EQ("n", target.GetName());
  EXPECT_EQ("c", target.GetCaption());
  EXPECT_EQ("t", target.GetText());
  EXPECT_EQ(0.0, target.GetEndFrame());
}

// A domain that adds a rule of its own to loops and counts its calls.
template <class T>
class CCountingDescription : public SL::IEntityDescription<T> {
public:
  void Normalize(T&) override { ++normalized; }
  bool HasNormalized(T const&) override {
    ++asked;
    return answer;
  }
  int normalized = 0;
  int asked = 0;
  bool answer = false;
};

class CCountingDomain : public SL::IDomain {
public:
  SL::IEntityDescription<SL::IWave>& WaveDescription() override { return wave; }
  SL::IEntityDescription<SL::IChannel>& ChannelDescription() override { return channel; }
  SL::IEntityDescription<SL::IEnvelope>& EnvelopeDescription() override { return envelope; }
  SL::IEntityDescription<SL::ILoop>& LoopDescription() override { return loop; }
  CCountingDescription<SL::IWave> wave;
  CCountingDescription<SL::IChannel> channel;
  CCountingDescription<SL::IEnvelope> envelope;
  CCountingDescription<SL::ILoop> loop;
};

TEST(Domain, DefaultIsCreatedOnceAndAcceptsEverything) {
  SL::IDomain& first = SL::Domain();
  EXPECT_EQ(&first, &SL::Domain());
  SL::CLoop loop;
  EXPECT_TRUE(first.LoopDescription().HasNormalized(loop));
}

TEST(Domain, HookEndsNormaliseAndIsAskedOnlyAfterOwnRulesHold) {
  boost::shared_ptr<CCountingDomain> domain(new CCountingDomain);
  SL::InitializeDomain(domain);
  SL::CLoop loop;  // the constructor normalises once
  EXPECT_EQ(1, domain->loop.normalized);
  EXPECT_FALSE(loop.HasNormalized());  // own rules hold, the hook says no
  EXPECT_EQ(1, domain->loop.asked);
  loop.SetLoopFrame(10.0);
  loop.SetEndFrame(5.0);
  EXPECT_FALSE(loop.HasNormalized());
  EXPECT_EQ(1, domain->loop.asked);  // own rule failed first

  SL::CEnvelope envelope(SL::CWaveFormat::None);
  EXPECT_EQ(1, domain->envelope.normalized);
  envelope.Normalize();
  EXPECT_EQ(2, domain->envelope.normalized);
  SL::InitializeDomain();
  EXPECT_TRUE(SL::CLoop().HasNormalized());
}

}  // namespace
