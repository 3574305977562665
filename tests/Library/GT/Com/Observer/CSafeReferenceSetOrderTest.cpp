#include "GT/Com/Observer/CEvent.h"
#include "GT/Com/Observer/CSafeReferenceSet.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <string>
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
  while (it->HasNext()) ids.push_back(it->Next()->id);
  return ids;
}

TEST(CSafeReferenceSet, HighestPriorityFirstThenInOrderOfAdding) {
  auto o1 = boost::make_shared<CItem>(1);
  auto o2 = boost::make_shared<CItem>(2);
  auto o3 = boost::make_shared<CItem>(3);
  CSet set;
  EXPECT_TRUE(set.IsEmpty());
  set.Add(o1, 0);
  set.Add(o2, 5);
  set.Add(o3, 0);
  set.Add(o1, 9);  // already there: keeps its first priority
  EXPECT_EQ((std::vector<int>{2, 1, 3}), Ids(set));

  o2.reset();
  EXPECT_EQ((std::vector<int>{1, 3}), Ids(set));
  EXPECT_FALSE(set.IsEmpty());
  auto o4 = boost::make_shared<CItem>(4);
  set.Add(o4, 5);  // walks over o2's expired entry and drops it
  EXPECT_EQ((std::vector<int>{4, 1, 3}), Ids(set));

  {
    auto gone = boost::make_shared<CItem>(5);
    boost::weak_ptr<CItem> expired(gone);
    gone.reset();
    set.Add(expired, 10);  // stored, never returned
  }
  EXPECT_EQ((std::vector<int>{4, 1, 3}), Ids(set));

  o1.reset();
  o3.reset();
  o4.reset();
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_FALSE(set.CreateIterator()->HasNext());
}

TEST(CEvent, KeepsItsOwnCopyOfTheSource) {
  boost::any source = std::string("device");
  GT::CEvent const event(source);
  source = 7;
  EXPECT_EQ("device", boost::any_cast<std::string>(event.GetSource()));
  EXPECT_TRUE(GT::CEvent(boost::any()).GetSource().empty());
}

}  // namespace
