#include "GT/Com/Observer/CSafeReferenceSet.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <vector>

namespace {

struct CItem {
  explicit CItem(int i) : id(i) {}
  int id;
};

using CSet = GT::CSafeReferenceSet<CItem>;

}  // namespace

TEST(CSafeReferenceSet, ObjectDestroyedAfterIteratorSteppedOnItGivesEmptyPointer) {
  auto o1 = boost::make_shared<CItem>(1);
  auto o2 = boost::make_shared<CItem>(2);
  auto o3 = boost::make_shared<CItem>(3);
  CSet set;
  set.Add(o1, 0);
  set.Add(o2, 0);
  set.Add(o3, 0);
  auto it = set.CreateIterator();
  ASSERT_TRUE(it->HasNext());
  EXPECT_EQ(it->Next()->id, 1);  // the iterator now stands on o2
  o2.reset();
  ASSERT_TRUE(it->HasNext());
  EXPECT_FALSE(it->Next());
  ASSERT_TRUE(it->HasNext());
  EXPECT_EQ(it->Next()->id, 3);
  EXPECT_FALSE(it->HasNext());
}
