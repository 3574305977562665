#include "SL/Com/Wave/CEnvelope.h"

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelopeSelector.h"
#include "SL/Com/Wave/CLoop.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

namespace {

// A stranger to CEnvelope: another implementation of the interface.
class COtherEnvelope : public SL::IEnvelope {
public:
  COtherEnvelope* Clone() const override { return new COtherEnvelope(*this); }
  void SetCaption(std::string const& caption) override { mCaption = caption; }
  std::string const& GetCaption() const override { return mCaption; }
  void SetText(std::string const& text) override { mText = text; }
  std::string const& GetText() const override { return mText; }
  void Normalize() override {}
  bool HasNormalized() const override { return true; }
  SL::CWaveFormat GetFormat() const override { return SL::CWaveFormat::Pitch; }
  void SetCurveType(CCurveType) override {}
  CCurveType GetCurveType() const override { return CCurveType::Log; }
  void SetFormat(SL::CWaveFormat) override {}
  void SetActive(bool) override {}
  bool IsActive() const override { return true; }
  void SetName(std::string const&) override {}
  std::string const& GetName() const override { return mCaption; }

  std::string mCaption = "other";
  std::string mText;
};

std::vector<double> Xs(SL::CEnvelope const& envelope) {
  std::vector<double> xs;
  for (SL::CEnvelopePoint const& p : envelope) xs.push_back(p.x);
  return xs;
}

// Points at x 1, 2, 3 (y 10, 20, 30), the middle one selected, with every
// attribute set away from its default.
SL::CEnvelope Source() {
  SL::CEnvelope envelope(SL::CWaveFormat::PitchEnvelope);
  envelope.insert(SL::CEnvelopePoint(1, 10));
  envelope.insert(SL::CEnvelopePoint(2, 20, true));
  envelope.insert(SL::CEnvelopePoint(3, 30));
  envelope.SetActive(true);
  envelope.SetName("name");
  envelope.SetCaption("caption");
  envelope.SetText("text");
  envelope.SetCurveType(SL::IEnvelope::CCurveType::Spline);
  return envelope;
}

}  // namespace

TEST(CEnvelope, NewEnvelopeIsEmptyLinearAndNormalised) {
  SL::CEnvelope const envelope(SL::CWaveFormat::AmplitudeEnvelope);
  EXPECT_TRUE(envelope.empty());
  EXPECT_EQ(0, envelope.GetLocation().begin);
  EXPECT_EQ(0, envelope.GetLocation().end);
  EXPECT_EQ(SL::IEnvelope::CCurveType::Linear, envelope.GetCurveType());
  EXPECT_EQ("LIN", envelope.GetCurveType().ToString());
  EXPECT_EQ(SL::CWaveFormat::AmplitudeEnvelope, envelope.GetFormat());
  EXPECT_FALSE(envelope.IsNull());
  EXPECT_TRUE(envelope.HasNormalized());
  EXPECT_EQ("SPL", SL::IEnvelope::CCurveType(2).ToString());
  EXPECT_EQ(1, SL::IEnvelope::CCurveType(std::string("LOG")).GetValue());
  EXPECT_THROW(SL::IEnvelope::CCurveType(3), SL::IEnvelope::CCurveType::CError);
}

TEST(CEnvelope, PointsStaySortedAndTheFirstOfAnXWins) {
  SL::CEnvelope envelope(SL::CWaveFormat::None);
  EXPECT_TRUE(envelope.insert(SL::CEnvelopePoint(5.0, 1)).second);
  EXPECT_TRUE(envelope.insert(SL::CEnvelopePoint(1.0, 2)).second);
  auto const again = envelope.insert(SL::CEnvelopePoint(5.0, 3));
  EXPECT_FALSE(again.second);
  EXPECT_EQ(1.0, again.first->y);
  EXPECT_EQ((std::vector<double>{1.0, 5.0}), Xs(envelope));
  EXPECT_EQ(1.0, envelope.back().y);
  std::vector<SL::CEnvelopePoint> const more = {{3, 0}, {1, 9}, {7, 0}, {3, 9}};
  envelope.insert(more.begin(), more.end());
  EXPECT_EQ((std::vector<double>{1.0, 3.0, 5.0, 7.0}), Xs(envelope));
  EXPECT_EQ(2.0, envelope.front().y);
  EXPECT_EQ(0.0, envelope[1].y);
}

TEST(CEnvelope, LocationTruncatesTheOuterPoints) {
  struct {
    std::vector<double> xs;
    long begin, end;
  } const rows[] = {
      {{2.9, 10.7}, 2, 10},
      {{-2.9, 0.5}, -2, 0},
      {{4.0}, 4, 4},
      {{-1e30, 1e30}, std::numeric_limits<long>::min(), std::numeric_limits<long>::max()},
  };
  for (auto const& row : rows) {
    SL::CEnvelope envelope(SL::CWaveFormat::None);
    for (double x : row.xs) envelope.insert(SL::CEnvelopePoint(x, 0));
    envelope.SetLocation(GT::CRange<long>(100, 200));
    EXPECT_EQ(row.begin, envelope.GetLocation().begin) << row.xs.front();
    EXPECT_EQ(row.end, envelope.GetLocation().end) << row.xs.front();
  }
}

TEST(CEnvelope, CopiesAndEquality) {
  SL::CEnvelope const source = Source();
  SL::CEnvelope copy(source);
  std::unique_ptr<SL::CEnvelope> clone(source.Clone());
  SL::CEnvelope assigned(SL::CWaveFormat::None);
  assigned = source;
  SL::CEnvelope const bare(source, false);
  EXPECT_TRUE(copy.Equals(source));
  EXPECT_TRUE(clone->Equals(source));
  EXPECT_TRUE(assigned.Equals(source));
  EXPECT_TRUE(bare.empty());
  EXPECT_EQ("caption", bare.GetCaption());
  EXPECT_EQ(SL::IEnvelope::CCurveType::Spline, bare.GetCurveType());
  EXPECT_FALSE(bare.Equals(source));
  // The selection is not part of equality; everything else is.
  SL::CEnvelopeSelector(copy).SelectAll(true);
  EXPECT_TRUE(copy.Equals(source));
  EXPECT_FALSE(SL::CEnvelopeSelector(const_cast<SL::CEnvelope&>(source)).IsSelected(2));
  copy[0].y = 11;
  EXPECT_FALSE(copy.Equals(source));
  EXPECT_EQ(10.0, source[0].y);
  assigned.SetFormat(SL::CWaveFormat::FilterEnvelope);
  EXPECT_FALSE(assigned.Equals(source));
  clone->SetCurveType(SL::IEnvelope::CCurveType::Log);
  EXPECT_FALSE(clone->Equals(source));
  SL::CEnvelope text(source);
  text.SetText("other");
  EXPECT_FALSE(text.Equals(source));
  EXPECT_FALSE(source.Equals(SL::CLoop()));
  copy.Swap(text);
  EXPECT_EQ("other", copy.GetText());
  EXPECT_EQ(11.0, text[0].y);
}

TEST(CEnvelope, ToStringAddsPointAndSelection) {
  EXPECT_EQ("(Point)(Selection)", SL::IEnvelope::ToString(48));
  EXPECT_EQ("(Name)(Point)", SL::IEnvelope::ToString(18));
  EXPECT_EQ("(Selection)", SL::IEnvelope::ToString(32));
  EXPECT_EQ("", SL::IEnvelope::ToString(64));
}

TEST(CEnvelope, CopyAttributeCopiesWhatTheIdSelects) {
  using Id = SL::CEntityId;
  enum { kNothing = 0, kAttributes = 1, kPoints = 2, kSelection = 4 };
  struct {
    Id id;
    int copied;
  } const rows[] = {
      // sCopyAll intersects nothing, so the copied points come unselected.
      {SL::IEntity::sCopyAll, kAttributes | kPoints},
      {Id().Set<SL::IEnvelope>(0), kAttributes | kPoints | kSelection},
      {Id().Set<SL::IEnvelope>(-1), kAttributes | kPoints | kSelection},
      {Id().Set<SL::IEnvelope>(0).Attribute(SL::IEnvelope::kCaption), kAttributes},
      {Id().Set<SL::IEnvelope>(0).Attribute(16), kPoints},
      {Id().Set<SL::IEnvelope>(0).Attribute(48), kPoints | kSelection},
      {Id().Set<SL::IEnvelope>(0).Attribute(17), kAttributes | kPoints},
      {Id().Set<SL::IEnvelope>(1), kNothing},
      {Id().Set<SL::ILoop>(0), kNothing},
  };
  int row = 0;
  for (auto const& r : rows) {
    SL::CEnvelope const source = Source();
    SL::CEnvelope target(SL::CWaveFormat::None);
    target.insert(SL::CEnvelopePoint(9, 9, true));
    target.CopyAttribute(source, r.id);
    bool const attributes = (r.copied & kAttributes) != 0;
    EXPECT_EQ(attributes, target.IsActive()) << row;
    EXPECT_EQ(attributes ? "name" : "", target.GetName()) << row;
    EXPECT_EQ(attributes ? "caption" : "", target.GetCaption()) << row;
    EXPECT_EQ(attributes ? "text" : "", target.GetText()) << row;
    EXPECT_EQ(attributes ? SL::CWaveFormat::PitchEnvelope : SL::CWaveFormat::None,
              target.GetFormat())
        << row;
    EXPECT_EQ(attributes ? SL::IEnvelope::CCurveType::Spline : SL::IEnvelope::CCurveType::Linear,
              target.GetCurveType())
        << row;
    if (r.copied & kPoints) {
      EXPECT_EQ((std::vector<double>{1, 2, 3}), Xs(target)) << row;
      EXPECT_EQ((r.copied & kSelection) ? std::vector<int>{1} : std::vector<int>{},
                SL::CEnvelopeSelector(target).GetSelected(true))
          << row;
    } else {
      EXPECT_EQ(std::vector<double>{9}, Xs(target)) << row;
      EXPECT_TRUE(target[0].selected) << row;
    }
    ++row;
  }
}

TEST(CEnvelope, CopyAttributeFromAnotherKindTakesTheAttributesOnly) {
  COtherEnvelope const other;
  SL::CEnvelope target(SL::CWaveFormat::None);
  target.insert(SL::CEnvelopePoint(9, 9, true));
  target.CopyAttribute(other, SL::IEntity::sCopyAll);
  EXPECT_EQ("other", target.GetCaption());
  EXPECT_EQ(SL::CWaveFormat::Pitch, target.GetFormat());
  EXPECT_EQ(SL::IEnvelope::CCurveType::Log, target.GetCurveType());
  ASSERT_EQ(1u, target.size());
  EXPECT_TRUE(target[0].selected);

  // From itself: the points stay, the flags go.
  target.CopyAttribute(target, SL::IEntity::sCopyAll);
  ASSERT_EQ(1u, target.size());
  EXPECT_FALSE(target[0].selected);
}

TEST(CEnvelope, EnvelopeRecordHasValueSemantics) {
  SL::AEnvelope a(SL::CWaveFormat::Fft);
  SL::AEnvelope b;
  EXPECT_EQ(SL::CWaveFormat::None, b.mFormat);
  EXPECT_TRUE(a != b);
  b = a;
  EXPECT_TRUE(a == b);
  a.mCurveType = SL::IEnvelope::CCurveType::Spline;
  EXPECT_FALSE(a == b);
  a.Swap(b);
  EXPECT_EQ(SL::IEnvelope::CCurveType::Linear, a.mCurveType);
  EXPECT_EQ(SL::IEnvelope::CCurveType::Spline, b.mCurveType);
  // An entity class without an Equals of its own compares by identity.
  COtherEnvelope const other;
  EXPECT_TRUE(other.Equals(other));
  EXPECT_FALSE(other.Equals(COtherEnvelope(other)));
}
