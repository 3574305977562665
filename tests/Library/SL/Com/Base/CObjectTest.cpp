#include "SL/Com/Base/CObject.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CPlain : public SL::CObject {};

TEST(CObject, DefaultsCloneNothingAndEqualOnlyItself) {
  CPlain a;
  CPlain b(a);
  std::unique_ptr<SL::CObject> clone(a.Clone());
  EXPECT_EQ(nullptr, clone.get());
  EXPECT_TRUE(a.Equals(a));
  EXPECT_FALSE(a.Equals(b));
}

}  // namespace
