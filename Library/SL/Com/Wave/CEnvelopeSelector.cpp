#include "SL/Com/Wave/CEnvelopeSelector.h"

#include <algorithm>
#include <iterator>

#include "SL/Com/Wave/CEntityId.h"
#include "SL/Com/Wave/CEnvelope.h"
#include "SL/Com/Base/CInterval.h"

namespace SL {

void CEnvelopeSelector::SelectAll(bool state) {
  for (CEnvelopePoint& point : *mEnvelope) point.selected = state;
}

bool CEnvelopeSelector::IsSelected() const {
  for (CEnvelopePoint const& point : *mEnvelope)
    if (point.selected) return true;
  return false;
}

bool CEnvelopeSelector::IsSelected(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= mEnvelope->size()) return false;
  return (*mEnvelope)[index].selected;
}

void CEnvelopeSelector::Select(int index, bool state) {
  if (index < 0 || static_cast<std::size_t>(index) >= mEnvelope->size()) return;
  (*mEnvelope)[index].selected = state;
}

void CEnvelopeSelector::Select(std::vector<int> const& indexes, bool state) {
  for (int index : indexes) Select(index, state);
}

void CEnvelopeSelector::Select(GT::CRange<double> const& xRange, bool state) {
  auto first = mEnvelope->lower_bound(CEnvelopePoint(xRange.begin, 0.0));
  auto last = mEnvelope->lower_bound(CEnvelopePoint(xRange.end, 0.0));
  for (; first < last; ++first) first->selected = state;
}

void CEnvelopeSelector::Select(GT::CRectT<double> const& rect, bool state) {
  GT::CRange<double> const x = CInterval<double>::ToRange(rect.left, rect.right);
  GT::CRange<double> const y = CInterval<double>::ToRange(rect.top, rect.bottom);
  for (CEnvelopePoint& point : *mEnvelope)
    if (x.begin <= point.x && point.x < x.end && y.begin <= point.y && point.y < y.end)
      point.selected = state;
}

std::vector<int> CEnvelopeSelector::GetSelected(bool state) const {
  std::vector<int> indexes;
  for (std::size_t i = 0; i < mEnvelope->size(); ++i)
    if ((*mEnvelope)[i].selected == state) indexes.push_back(static_cast<int>(i));
  return indexes;
}

std::vector<int> CEnvelopeSelector::Union(std::vector<int> const& a, std::vector<int> const& b) {
  std::vector<int> result;
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
  return result;
}

std::unique_ptr<CEnvelope> CEnvelopeSelector::ExtractSelected(bool state) const {
  std::unique_ptr<CEnvelope> result(new CEnvelope(mEnvelope->GetFormat()));
  result->CopyAttribute(*mEnvelope, CEntityId().Set<IEnvelope>(0).Attribute(
                                        ~(IEnvelope::kPoint | IEnvelope::kSelection)));
  for (CEnvelopePoint const& point : *mEnvelope)
    if (point.selected == state) result->push_back(point);
  return result;
}

}  // namespace SL
