#include "SL/Com/Wave/CEnvelopeSelector.h"

#include "SL/Com/Wave/CEnvelope.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Indexes = std::vector<int>;

// Points (1, 1), (2, 4), (5, 2), (8, 8).
SL::CEnvelope Envelope() {
  SL::CEnvelope envelope(SL::CWaveFormat::AmplitudeEnvelope);
  for (auto const& p : {SL::CEnvelopePoint(1, 1), SL::CEnvelopePoint(2, 4),
                        SL::CEnvelopePoint(5, 2), SL::CEnvelopePoint(8, 8)})
    envelope.insert(p);
  return envelope;
}

}  // namespace

TEST(CEnvelopeSelector, SelectByIndexIgnoresIndexesOutOfRange) {
  SL::CEnvelope envelope = Envelope();
  SL::CEnvelopeSelector selector(envelope);
  EXPECT_FALSE(selector.IsSelected());
  for (int index : {-1, 4, 100}) {
    selector.Select(index, true);
    EXPECT_FALSE(selector.IsSelected(index));
  }
  EXPECT_FALSE(selector.IsSelected());
  selector.Select(2, true);
  EXPECT_TRUE(selector.IsSelected());
  EXPECT_TRUE(selector.IsSelected(2));
  selector.Select(Indexes{0, 3, 7, -2}, true);
  EXPECT_EQ((Indexes{0, 2, 3}), selector.GetSelected(true));
  EXPECT_EQ((Indexes{1}), selector.GetSelected(false));
  selector.SelectAll(true);
  EXPECT_EQ((Indexes{}), selector.GetSelected(false));
  selector.Select(Indexes{3, 0}, false);
  EXPECT_EQ((Indexes{1, 2}), selector.GetSelected(true));
  selector.SelectAll(false);
  EXPECT_FALSE(selector.IsSelected());
}

TEST(CEnvelopeSelector, SelectByRangeTakesBeginUpToEnd) {
  struct {
    double begin, end;
    Indexes selected;
  } const rows[] = {
      {2.0, 5.0, {1}},    {0.0, 100.0, {0, 1, 2, 3}},
      {1.5, 5.5, {1, 2}}, {5.0, 5.0, {}},
      {8.0, 9.0, {3}},    {9.0, 20.0, {}},
      {5.0, 2.0, {}},     {-3.0, 1.0, {}},
  };
  for (auto const& row : rows) {
    SL::CEnvelope envelope = Envelope();
    SL::CEnvelopeSelector selector(envelope);
    selector.Select(GT::CRange<double>(row.begin, row.end), true);
    EXPECT_EQ(row.selected, selector.GetSelected(true)) << row.begin << ".." << row.end;
  }
}

TEST(CEnvelopeSelector, SelectByRectangleTakesItsSidesInEitherOrder) {
  struct {
    GT::CRectT<double> rect;
    Indexes selected;
  } const rows[] = {
      {{1, 0, 5, 10}, {0, 1}}, {{5, 0, 1, 10}, {0, 1}},         {{1, 10, 5, 0}, {0, 1}},
      {{0, 2, 10, 8}, {1, 2}}, {{0, 0, 10, 100}, {0, 1, 2, 3}}, {{2, 4, 2, 5}, {}},
  };
  for (auto const& row : rows) {
    SL::CEnvelope envelope = Envelope();
    SL::CEnvelopeSelector selector(envelope);
    selector.Select(row.rect, true);
    EXPECT_EQ(row.selected, selector.GetSelected(true))
        << row.rect.left << "," << row.rect.top << "," << row.rect.right << "," << row.rect.bottom;
    selector.Select(row.rect, false);
    EXPECT_FALSE(selector.IsSelected());
  }
}

TEST(CEnvelopeSelector, UnionOfAscendingLists) {
  struct {
    Indexes a, b, both;
  } const rows[] = {
      {{}, {}, {}},
      {{1, 3}, {}, {1, 3}},
      {{0, 2, 4}, {1, 2, 5}, {0, 1, 2, 4, 5}},
      {{7}, {7}, {7}},
  };
  for (auto const& row : rows) EXPECT_EQ(row.both, SL::CEnvelopeSelector::Union(row.a, row.b));
}

TEST(CEnvelopeSelector, ExtractSelectedCopiesAttributesAndMatchingPoints) {
  SL::CEnvelope envelope = Envelope();
  envelope.SetName("amp");
  envelope.SetActive(true);
  envelope.SetCurveType(SL::IEnvelope::CCurveType::Log);
  SL::CEnvelopeSelector selector(envelope);
  selector.Select(Indexes{1, 3}, true);
  std::unique_ptr<SL::CEnvelope> const selected = selector.ExtractSelected(true);
  std::unique_ptr<SL::CEnvelope> const unselected = selector.ExtractSelected(false);
  for (SL::CEnvelope const* part : {selected.get(), unselected.get()}) {
    EXPECT_EQ("amp", part->GetName());
    EXPECT_TRUE(part->IsActive());
    EXPECT_EQ(SL::CWaveFormat::AmplitudeEnvelope, part->GetFormat());
    EXPECT_EQ(SL::IEnvelope::CCurveType::Log, part->GetCurveType());
  }
  ASSERT_EQ(2u, selected->size());
  EXPECT_EQ(2.0, (*selected)[0].x);
  EXPECT_EQ(8.0, (*selected)[1].y);
  EXPECT_TRUE((*selected)[0].selected && (*selected)[1].selected);
  ASSERT_EQ(2u, unselected->size());
  EXPECT_EQ(1.0, (*unselected)[0].x);
  EXPECT_EQ(5.0, (*unselected)[1].x);
  EXPECT_FALSE((*unselected)[0].selected || (*unselected)[1].selected);
  EXPECT_EQ(4u, envelope.size());
}

TEST(CEnvelopeSelector, SelectorsCompareByTheirEnvelope) {
  SL::CEnvelope a = Envelope();
  SL::CEnvelope b = Envelope();
  SL::CEnvelopeSelector onA(a);
  SL::CEnvelopeSelector other(b);
  EXPECT_TRUE(onA == SL::CEnvelopeSelector(a));
  EXPECT_FALSE(onA == other);
  other = onA;
  EXPECT_TRUE(other == onA);
  other.Select(0, true);
  EXPECT_TRUE(a[0].selected);
  SL::CEnvelopeSelector third(b);
  third.Swap(other);
  EXPECT_TRUE(third == onA);
  EXPECT_TRUE(other == SL::CEnvelopeSelector(b));
}
