#pragma once

namespace GT {

// A point as x, y.
template <typename T>
class CPointT {
public:
  CPointT() : x(), y() {}
  CPointT(T px, T py) : x(px), y(py) {}

  T x;
  T y;
};

}  // namespace GT
