#pragma once

#include <utility>

namespace GT {

// The half-open interval [begin, end).
template <typename T>
class CRange {
public:
  CRange() : begin(), end() {}
  CRange(T const& b, T const& e) : begin(b), end(e) {}
  CRange(CRange const& other) = default;

  CRange& operator=(CRange const& other) {
    CRange temp(other);
    Swap(temp);
    return *this;
  }

  void Swap(CRange& other) {
    using std::swap;
    swap(begin, other.begin);
    swap(end, other.end);
  }

  // True when other lies within this range and is not empty at either edge:
  // begin <= other.begin < end and begin < other.end <= end.
  bool Includes(CRange const& other) const {
    return begin <= other.begin && other.begin < end && begin < other.end && other.end <= end;
  }

  T begin;
  T end;
};

}  // namespace GT
