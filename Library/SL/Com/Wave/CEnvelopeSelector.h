#pragma once

#include <memory>
#include <vector>

#include "GT/Com/Enum/CRange.h"
#include "GT/Com/Geometry/CRectT.h"

namespace SL {

class CEnvelope;

// Selects and extracts the points of one envelope by index (x order).
class CEnvelopeSelector {
public:
  explicit CEnvelopeSelector(CEnvelope& envelope) : mEnvelope(&envelope) {}
  CEnvelopeSelector(CEnvelopeSelector const& other) = default;
  CEnvelopeSelector& operator=(CEnvelopeSelector const& other) {
    CEnvelopeSelector copy(other);
    Swap(copy);
    return *this;
  }
  void Swap(CEnvelopeSelector& other) { std::swap(mEnvelope, other.mEnvelope); }
  bool operator==(CEnvelopeSelector const& other) const { return mEnvelope == other.mEnvelope; }

  void SelectAll(bool state);
  bool IsSelected() const;
  bool IsSelected(int index) const;
  void Select(int index, bool state);
  void Select(std::vector<int> const& indexes, bool state);
  // Points with begin <= x < end.
  void Select(GT::CRange<double> const& xRange, bool state);
  // Points inside the rectangle, its sides taken in either order.
  void Select(GT::CRectT<double> const& rect, bool state);
  std::vector<int> GetSelected(bool state) const;
  static std::vector<int> Union(std::vector<int> const& a, std::vector<int> const& b);
  // A new envelope with the attributes and the points whose flag is state.
  std::unique_ptr<CEnvelope> ExtractSelected(bool state) const;

private:
  CEnvelope* mEnvelope;
};

}  // namespace SL
