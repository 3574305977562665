#pragma once

namespace SL {

// One point of an envelope curve: frame x, value y, and a selection flag.
class CEnvelopePoint {
public:
  CEnvelopePoint() : x(0.0), y(0.0), selected(false) {}
  CEnvelopePoint(double px, double py, bool s = false) : x(px), y(py), selected(s) {}
  // The selection flag is not compared.
  bool operator==(CEnvelopePoint const& other) const { return x == other.x && y == other.y; }
  bool operator!=(CEnvelopePoint const& other) const { return !(*this == other); }

  struct FLessX {
    bool operator()(CEnvelopePoint const& a, CEnvelopePoint const& b) const { return a.x < b.x; }
  };

  double x;
  double y;
  bool selected;
};

}  // namespace SL
