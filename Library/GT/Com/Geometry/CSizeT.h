#pragma once

namespace GT {

// An extent as width, height.
template <typename T>
class CSizeT {
public:
  CSizeT() : width(), height() {}
  CSizeT(T w, T h) : width(w), height(h) {}

  T width;
  T height;
};

}  // namespace GT
