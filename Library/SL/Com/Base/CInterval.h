#pragma once

#include "GT/Com/Enum/CRange.h"

namespace SL {

// Turns two bounds given in any order into an ordered range.
template <class T>
class CInterval {
public:
  static GT::CRange<T> ToRange(T const& a, T const& b) {
    return b < a ? GT::CRange<T>(b, a) : GT::CRange<T>(a, b);
  }
};

}  // namespace SL
