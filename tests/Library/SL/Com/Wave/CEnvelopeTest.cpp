#include "SL/Com/Wave/CEnvelope.h"

#include <gtest/gtest.h>

#include <memory>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelopeSelector.h"
#include "SL/Com/Wave/CLoop.h"

namespace {

SL::CEnvelope Points(std::initializer_list<SL::CEnvelopePoint> points) {
  SL::CEnvelope envelope(SL::CWaveFormat::None);
  for (auto const& p : points) envelope.insert(p);
  return envelope;
}

TEST(CEnvelope, NewEnvelopeIsEmptyLinearAndNormalised) {
  SL::CEnvelope envelope(SL::CWaveFormat::Wave);
  EXPECT_TRUE(envelope.empty());
  EXPECT_EQ(0, envelope.GetLocation().begin);
  EXPECT_EQ(0, envelope.GetLocation().end);
  EXPECT_EQ("LIN", envelope.GetCurveType().ToString());
  EXPECT_FALSE(envelope.IsNull());
  EXPECT_TRUE(envelope.HasNormalized());
  EXPECT_TRUE(envelope.GetFormat() == SL::CWaveFormat::Wave);
}

TEST(CEnvelope, CurveTypeNamesAreChecked) {
  EXPECT_EQ("SPL", SL::IEnvelope::CCurveType(2).ToString());
  EXPECT_EQ(1, SL::IEnvelope::CCurveType("LOG").GetValue());
  EXPECT_THROW(SL::IEnvelope::CCurveType(3), GT::IRangedNumber<int>::CError);
}

TEST(CEnvelope, PointsStaySortedAndTheFirstOfAnXWins) {
  SL::CEnvelope envelope = Points({{5.0, 1.0}, {1.0, 2.0}, {5.0, 3.0}});
  ASSERT_EQ(2u, envelope.size());
  EXPECT_EQ(1.0, envelope[0].x);
  EXPECT_EQ(5.0, envelope[1].x);
  EXPECT_EQ(1.0, envelope[1].y);
}

TEST(CEnvelope, LocationTruncatesTheOuterPoints) {
  SL::CEnvelope envelope = Points({{10.7, 0.0}, {2.9, 0.0}});
  envelope.SetLocation(GT::CRange<long>(50, 60));
  EXPECT_EQ(2, envelope.GetLocation().begin);
  EXPECT_EQ(10, envelope.GetLocation().end);
  SL::CEnvelope huge = Points({{-1e300, 0.0}, {1e300, 0.0}});
  EXPECT_LT(huge.GetLocation().begin, 0);
  EXPECT_GT(huge.GetLocation().end, 0);
}

TEST(CEnvelope, EqualityIgnoresSelectionAndNeedsAnEnvelope) {
  SL::CEnvelope a = Points({{1.0, 1.0}, {2.0, 2.0}});
  SL::CEnvelope b = Points({{1.0, 1.0}, {2.0, 2.0}});
  SL::CEnvelopeSelector(b).Select(0, true);
  EXPECT_TRUE(a.Equals(b));
  b.SetCurveType(SL::IEnvelope::CCurveType::Spline);
  EXPECT_FALSE(a.Equals(b));
  EXPECT_FALSE(a.Equals(SL::CLoop()));
}

TEST(CEnvelope, CopiesAreDeep) {
  SL::CEnvelope a = Points({{1.0, 1.0}});
  std::unique_ptr<SL::CEnvelope> clone(a.Clone());
  (*clone)[0].y = 7.0;
  clone->SetName("x");
  EXPECT_EQ(1.0, a[0].y);
  EXPECT_EQ("", a.GetName());
  SL::CEnvelope withoutPoints(a, false);
  EXPECT_TRUE(withoutPoints.empty());
  SL::CEnvelope assigned(SL::CWaveFormat::None);
  assigned = a;
  assigned[0].x = 3.0;
  EXPECT_EQ(1.0, a[0].x);
}

TEST(CEnvelopeSelector, SelectsByIndexRangeAndRectangle) {
  SL::CEnvelope envelope = Points({{1.0, 0.0}, {2.0, 1.0}, {5.0, 2.0}});
  SL::CEnvelopeSelector selector(envelope);
  EXPECT_FALSE(selector.IsSelected());
  selector.Select(GT::CRange<double>(2.0, 5.0), true);
  EXPECT_EQ(std::vector<int>({1}), selector.GetSelected(true));
  selector.Select(GT::CRange<double>(5.0, 2.0), false);  // empty stretch
  EXPECT_TRUE(selector.IsSelected(1));

  selector.SelectAll(false);
  selector.Select(GT::CRectT<double>(5.0, 2.0, 1.0, 0.0), true);
  std::vector<int> const reversed = selector.GetSelected(true);
  selector.SelectAll(false);
  selector.Select(GT::CRectT<double>(1.0, 0.0, 5.0, 2.0), true);
  EXPECT_EQ(reversed, selector.GetSelected(true));
  EXPECT_EQ(std::vector<int>({0, 1}), reversed);

  EXPECT_FALSE(selector.IsSelected(-1));
  EXPECT_FALSE(selector.IsSelected(3));
  selector.SelectAll(false);
  selector.Select(3, true);
  selector.Select(-1, true);
  EXPECT_FALSE(selector.IsSelected());
  selector.Select(std::vector<int>({0, 2, 9}), true);
  EXPECT_EQ(std::vector<int>({0, 2}), selector.GetSelected(true));
  EXPECT_EQ(std::vector<int>({1}), selector.GetSelected(false));
}

TEST(CEnvelopeSelector, UnionAndExtraction) {
  EXPECT_EQ(std::vector<int>({1, 2, 3, 5}),
            SL::CEnvelopeSelector::Union(std::vector<int>({1, 3, 5}), std::vector<int>({2, 3})));
  SL::CEnvelope envelope = Points({{1.0, 0.0}, {2.0, 1.0}, {5.0, 2.0}});
  envelope.SetName("env");
  envelope.SetCurveType(SL::IEnvelope::CCurveType::Log);
  SL::CEnvelopeSelector selector(envelope);
  selector.Select(1, true);
  std::unique_ptr<SL::CEnvelope> selected = selector.ExtractSelected(true);
  ASSERT_EQ(1u, selected->size());
  EXPECT_EQ(2.0, (*selected)[0].x);
  EXPECT_TRUE((*selected)[0].selected);
  EXPECT_EQ("env", selected->GetName());
  EXPECT_EQ(1, selected->GetCurveType().GetValue());
  EXPECT_EQ(2u, selector.ExtractSelected(false)->size());
}

TEST(CEnvelope, CopyAttributeByPointAndSelectionBits) {
  SL::CEnvelope source = Points({{1.0, 0.0}, {2.0, 1.0}});
  source.SetText("t");
  SL::CEnvelopeSelector(source).SelectAll(true);

  SL::CEnvelope all(SL::CWaveFormat::None);
  all.CopyAttribute(source, SL::IEntity::sCopyAll);
  ASSERT_EQ(2u, all.size());
  EXPECT_EQ("t", all.GetText());
  EXPECT_FALSE(SL::CEnvelopeSelector(all).IsSelected());

  SL::CEnvelope withSelection = Points({{9.0, 9.0}});
  withSelection.CopyAttribute(source, SL::CEntityId().Set<SL::IEnvelope>(0).Attribute(16 | 32));
  ASSERT_EQ(2u, withSelection.size());
  EXPECT_TRUE(withSelection[0].selected);
  EXPECT_EQ("", withSelection.GetText());  // only points and selection were asked for

  SL::CEnvelope attributesOnly = Points({{9.0, 9.0}});
  attributesOnly.CopyAttribute(source, SL::CEntityId().Set<SL::IEnvelope>(0).Attribute(8));
  EXPECT_EQ("t", attributesOnly.GetText());
  ASSERT_EQ(1u, attributesOnly.size());
  EXPECT_EQ(9.0, attributesOnly[0].x);

  source.CopyAttribute(source, SL::IEntity::sCopyAll);  // onto itself
  EXPECT_EQ(2u, source.size());
}

TEST(CEnvelope, AttributeTexts) { EXPECT_EQ("(Point)(Selection)", SL::IEnvelope::ToString(48)); }

}  // namespace
