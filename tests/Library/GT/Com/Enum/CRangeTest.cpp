#include "GT/Com/Enum/CRange.h"
#include "GT/Com/Geometry/CPointT.h"
#include "GT/Com/Geometry/CRectT.h"
#include "GT/Com/Geometry/CSizeT.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CRange, IncludesHalfOpenNonEmpty) {
  GT::CRange<long> const r(0, 10);
  EXPECT_TRUE(r.Includes(GT::CRange<long>(0, 10)));
  EXPECT_TRUE(r.Includes(GT::CRange<long>(3, 4)));
  EXPECT_FALSE(r.Includes(GT::CRange<long>(10, 10)));
  EXPECT_FALSE(r.Includes(GT::CRange<long>(0, 0)));
  EXPECT_FALSE(r.Includes(GT::CRange<long>(5, 11)));
  EXPECT_FALSE(r.Includes(GT::CRange<long>(-1, 5)));
  EXPECT_FALSE(GT::CRange<long>(4, 4).Includes(GT::CRange<long>(4, 4)));
}

TEST(CRange, SwapAssignAndDefaults) {
  GT::CRange<double> a(0.25, 0.5), b(1.0, 2.0);
  a.Swap(b);
  EXPECT_EQ(a.begin, 1.0);
  EXPECT_EQ(b.end, 0.5);
  a = a;
  EXPECT_EQ(a.begin, 1.0);
  EXPECT_EQ(a.end, 2.0);
  b = a;
  EXPECT_EQ(b.begin, 1.0);
  EXPECT_EQ(b.end, 2.0);

  GT::CRange<std::vector<int>::iterator> const positions;
  EXPECT_TRUE(positions.begin == std::vector<int>::iterator());
  GT::CRange<long> const empty;
  EXPECT_EQ(empty.begin, 0);
  EXPECT_EQ(empty.end, 0);

  GT::CRectT<long> const rect(1, 2, 3, 4);
  EXPECT_EQ(rect.left + 10 * rect.top + 100 * rect.right + 1000 * rect.bottom, 4321);
  GT::CPointT<long> const p(5, 6);
  GT::CSizeT<long> const s(7, 8);
  EXPECT_EQ(p.x * 10 + p.y, 56);
  EXPECT_EQ(s.width * 10 + s.height, 78);
}
