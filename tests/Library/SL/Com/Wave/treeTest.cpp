#include "SL/Com/Wave/tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

typedef SL::tree<int> CTree;

// Pre-order values with each node's child count, e.g. "1(2) 2(0) 3(0)".
std::string Dump(CTree const& t) {
  std::string s;
  for (CTree::pre_order_iterator it = t.begin(); it != t.end(); ++it)
    s += std::to_string(*it) + "(" + std::to_string(it.number_of_children()) + ") ";
  return s;
}

TEST(tree, BuildCopyAndEditSubtrees) {
  CTree t(1);
  CTree::pre_order_iterator root = t.begin();
  CTree::pre_order_iterator two = t.append_child(root, 2);
  t.append_child(root, 3);
  t.append_child(two, 4);
  EXPECT_EQ("1(2) 2(1) 4(0) 3(0) ", Dump(t));
  EXPECT_EQ(4u, t.size());

  CTree copy(t);
  t.insert(two, 5);  // before 2
  CTree::pre_order_iterator six = t.insert_subtree(two, two);
  *six = 6;
  EXPECT_EQ("1(4) 5(0) 6(1) 4(0) 2(1) 4(0) 3(0) ", Dump(t));
  EXPECT_EQ("1(2) 2(1) 4(0) 3(0) ", Dump(copy));

  t.replace(six, copy.begin());  // a copy of the other tree in place of 6
  EXPECT_EQ("1(4) 5(0) 1(2) 2(1) 4(0) 3(0) 2(1) 4(0) 3(0) ", Dump(t));
  t.erase_children(root);
  EXPECT_EQ("1(0) ", Dump(t));
  t.append_children(root, copy.begin().begin(), copy.begin().end());
  EXPECT_EQ("1(2) 2(1) 4(0) 3(0) ", Dump(t));
  t.insert(root.end(), 7);  // end of the children appends
  EXPECT_EQ("1(3) 2(1) 4(0) 3(0) 7(0) ", Dump(t));
  t.clear();
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(0u, t.size());
}

TEST(tree, ReparentEraseSortAndEqual) {
  CTree t(0);
  CTree::pre_order_iterator root = t.begin();
  CTree::pre_order_iterator a = t.append_child(root, 9);
  CTree::pre_order_iterator b = t.append_child(root, 3);
  t.append_child(b, 8);
  t.append_child(b, 1);
  t.append_child(root, 5);
  t.reparent(a, b);  // b's children move under a
  EXPECT_EQ("0(3) 9(2) 8(0) 1(0) 3(0) 5(0) ", Dump(t));
  CTree::sibling_iterator next = t.erase(b);
  EXPECT_EQ(5, *next);
  t.sort(
      root.begin(), root.end(), [](int x, int y) { return x < y; }, false);
  EXPECT_EQ("0(2) 5(0) 9(2) 8(0) 1(0) ", Dump(t));
  t.sort(
      root.begin(), root.end(), [](int x, int y) { return x < y; }, true);
  EXPECT_EQ("0(2) 5(0) 9(2) 1(0) 8(0) ", Dump(t));

  CTree same(t);
  auto equal = [](int x, int y) { return x == y; };
  EXPECT_TRUE(CTree::equal(t.begin(), t.end(), same.begin(), equal));
  *same.begin().begin() = 4;
  EXPECT_FALSE(CTree::equal(t.begin(), t.end(), same.begin(), equal));
}

}  // namespace
