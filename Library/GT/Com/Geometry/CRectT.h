#pragma once

namespace GT {

// A rectangle as left, top, right, bottom.
template <typename T>
class CRectT {
public:
  CRectT() : left(), top(), right(), bottom() {}
  CRectT(T l, T t, T r, T b) : left(l), top(t), right(r), bottom(b) {}

  T left;
  T top;
  T right;
  T bottom;
};

}  // namespace GT
