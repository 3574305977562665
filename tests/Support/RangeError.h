#pragma once

#include "GT/Com/Enum/IRangedNumber.h"

#include <gtest/gtest.h>

namespace TestSupport {

// make() must throw the ranged-number error carrying exactly these bounds.
template <typename F>
void ExpectRangeError(F make, int lower, int upper) {
  try {
    make();
    ADD_FAILURE() << "no exception";
  } catch (GT::IRangedNumber<int>::CError const& e) {
    EXPECT_EQ(e.mLowerBound, lower);
    EXPECT_EQ(e.mUpperBound, upper);
  }
}

}  // namespace TestSupport
