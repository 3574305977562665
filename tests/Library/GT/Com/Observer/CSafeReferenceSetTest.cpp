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

std::vector<int> Ids(CSet const& set) {
  std::vector<int> ids;
  auto it = set.CreateIterator();
  while (it->HasNext()) {
    boost::shared_ptr<CItem> const p = it->Next();
    ids.push_back(p ? p->id : -1);
  }
  return ids;
}

}  // namespace

TEST(CSafeReferenceSet, OrderedByPriorityThenByAdding) {
  auto o1 = boost::make_shared<CItem>(1);
  auto o2 = boost::make_shared<CItem>(2);
  auto o3 = boost::make_shared<CItem>(3);
  auto o4 = boost::make_shared<CItem>(4);
  CSet set;
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_FALSE(set.CreateIterator()->HasNext());
  set.Add(o1, 0);
  set.Add(o2, 5);
  set.Add(o3, 0);
  set.Add(o4, -3);
  EXPECT_EQ(Ids(set), (std::vector<int>{2, 1, 3, 4}));
  EXPECT_FALSE(set.IsEmpty());
}

TEST(CSafeReferenceSet, DuplicateKeepsFirstPriority) {
  auto a = boost::make_shared<CItem>(1);
  auto b = boost::make_shared<CItem>(2);
  CSet set;
  set.Add(a, 5);
  set.Add(b, 7);
  set.Add(a, 9);  // ignored: a stays below b
  EXPECT_EQ(Ids(set), (std::vector<int>{2, 1}));
}

TEST(CSafeReferenceSet, NeverKeepsObjectsAlive) {
  auto o1 = boost::make_shared<CItem>(1);
  auto o2 = boost::make_shared<CItem>(2);
  auto o3 = boost::make_shared<CItem>(3);
  boost::weak_ptr<CItem> const watch2(o2);
  CSet set;
  set.Add(o1, 0);
  set.Add(o2, 5);
  set.Add(o3, 0);
  o2.reset();
  EXPECT_TRUE(watch2.expired());
  EXPECT_EQ(Ids(set), (std::vector<int>{1, 3}));
  EXPECT_FALSE(set.IsEmpty());

  // Re-adding an object whose entry follows the expired one purges it on the way;
  // the set then still answers the same.
  set.Add(o3, 0);
  EXPECT_EQ(Ids(set), (std::vector<int>{1, 3}));

  o1.reset();
  o3.reset();
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_FALSE(set.CreateIterator()->HasNext());
}

TEST(CSafeReferenceSet, ExpiredWeakPointerIsNeverReturned) {
  boost::weak_ptr<CItem> dead;
  {
    auto temp = boost::make_shared<CItem>(9);
    dead = temp;
  }
  auto live = boost::make_shared<CItem>(1);
  CSet set;
  set.Add(dead, 10);
  EXPECT_TRUE(set.IsEmpty());
  set.Add(live, 0);
  set.Add(dead, 10);
  EXPECT_EQ(Ids(set), (std::vector<int>{1}));
}

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
