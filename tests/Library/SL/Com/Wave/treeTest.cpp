#include "SL/Com/Wave/tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Tree = SL::tree<int>;
using Node = Tree::node_type;
using Pos = Tree::pre_order_iterator;
using Sib = Tree::sibling_iterator;

// "1(2(4,5),3)": each node with its children in brackets; the top level
// joined by commas.
std::string Write(Node const* first, Node const* stop) {
  std::string text;
  for (Node const* n = first; n && n != stop; n = n->next_sibling) {
    if (n != first) text += ',';
    text += std::to_string(n->data);
    if (n->first_child) text += '(' + Write(n->first_child, nullptr) + ')';
    // The links agree both ways.
    if (n->next_sibling && n->next_sibling->prev_sibling != n) text += '!';
    if (n->parent && n->next_sibling == nullptr && n->parent->last_child != n) text += '!';
  }
  return text;
}

std::string Text(Tree const& t) { return Write(t.begin().node, t.end().node); }

// The tree 1(2(4,5),3).
Tree Sample() {
  Tree t(1);
  Pos const one = t.begin();
  Pos const two = t.append_child(one, 2);
  t.append_child(one, 3);
  t.append_child(two, 4);
  t.append_child(two, 5);
  return t;
}

Pos Find(Tree const& t, int value) {
  for (Pos it = t.begin(); it != t.end(); ++it)
    if (*it == value) return it;
  return t.end();
}

}  // namespace

TEST(tree, BuildsAndWalksInPreOrder) {
  Tree const t = Sample();
  EXPECT_EQ("1(2(4,5),3)", Text(t));
  EXPECT_EQ(5u, t.size());
  EXPECT_FALSE(t.empty());
  std::string order;
  for (Pos it = t.begin(); it != t.end(); ++it) order += std::to_string(*it);
  EXPECT_EQ("12453", order);
  EXPECT_EQ(2u, t.begin().number_of_children());
  std::string children;
  for (Sib s = t.begin(t.begin()); s != t.end(t.begin()); ++s) children += std::to_string(*s);
  EXPECT_EQ("23", children);
  EXPECT_TRUE(Tree().empty());
  EXPECT_EQ(0u, Tree().size());
}

TEST(tree, CopiesAreDeep) {
  Tree const original = Sample();
  Tree copy(original);
  Tree assigned;
  assigned = original;
  assigned = assigned;
  *Find(copy, 4) = 40;
  copy.append_child(Find(copy, 3), 6);
  EXPECT_EQ("1(2(40,5),3(6))", Text(copy));
  EXPECT_EQ("1(2(4,5),3)", Text(original));
  EXPECT_EQ("1(2(4,5),3)", Text(assigned));
  copy.swap(assigned);
  EXPECT_EQ("1(2(4,5),3)", Text(copy));
}

TEST(tree, EditsKeepTheLinks) {
  struct {
    char const* name;
    void (*edit)(Tree&);
    char const* result;
  } const rows[] = {
      {"append_children",
       [](Tree& t) { t.append_children(Find(t, 3), Find(t, 2).begin(), Find(t, 2).end()); },
       "1(2(4,5),3(4,5))"},
      {"append_children of a part",
       [](Tree& t) {
         Sib const from = Find(t, 2);
         t.append_children(Find(t, 3), from, Sib(Find(t, 3)));
       },
       "1(2(4,5),3(2(4,5)))"},
      // Copies taken from the tree into itself are complete before they are linked.
      {"append_children to their own parent",
       [](Tree& t) { t.append_children(Find(t, 2), Find(t, 2).begin(), Find(t, 2).end()); },
       "1(2(4,5,4,5),3)"},
      {"append_children into their own subtree",
       [](Tree& t) { t.append_children(Find(t, 4), Sib(Find(t, 2)), Sib(Find(t, 3))); },
       "1(2(4(2(4,5)),5),3)"},
      {"insert before a sibling", [](Tree& t) { t.insert(Find(t, 5), 7); }, "1(2(4,7,5),3)"},
      {"insert before a sibling iterator", [](Tree& t) { t.insert(Sib(Find(t, 4)), 7); },
       "1(2(7,4,5),3)"},
      {"insert before the first", [](Tree& t) { t.insert(Find(t, 2), 7); }, "1(7,2(4,5),3)"},
      {"insert at a parent's end", [](Tree& t) { t.insert(Find(t, 2).end(), 7); }, "1(2(4,5,7),3)"},
      {"insert at the top", [](Tree& t) { t.insert(t.end(), 9); }, "1(2(4,5),3),9"},
      {"insert_subtree", [](Tree& t) { t.insert_subtree(Find(t, 4), Find(t, 2)); },
       "1(2(2(4,5),4,5),3)"},
      {"replace", [](Tree& t) { t.replace(Find(t, 3), Find(t, 2)); }, "1(2(4,5),2(4,5))"},
      {"replace by an ancestor", [](Tree& t) { t.replace(Find(t, 4), Find(t, 2)); },
       "1(2(2(4,5),5),3)"},
      {"replace by a part of itself", [](Tree& t) { t.replace(Find(t, 2), Find(t, 5)); }, "1(5,3)"},
      {"reparent all children", [](Tree& t) { t.reparent(Find(t, 3), Find(t, 2)); }, "1(2,3(4,5))"},
      {"reparent a range",
       [](Tree& t) {
         Pos const two = Find(t, 2);
         t.reparent(Find(t, 3), two.begin(), Sib(Find(t, 5)));
       },
       "1(2(5),3(4))"},
      {"reparent a subtree",
       [](Tree& t) { t.reparent(Find(t, 3), Sib(Find(t, 2)), Sib(Find(t, 3))); }, "1(3(2(4,5)))"},
      {"erase a middle node", [](Tree& t) { t.erase(Find(t, 2)); }, "1(3)"},
      {"erase the last child", [](Tree& t) { t.erase(Find(t, 5)); }, "1(2(4),3)"},
      {"erase_children", [](Tree& t) { t.erase_children(Find(t, 1)); }, "1"},
      {"erase the top", [](Tree& t) { t.erase(t.begin()); }, ""},
      {"clear", [](Tree& t) { t.clear(); }, ""},
  };
  for (auto const& row : rows) {
    Tree t = Sample();
    row.edit(t);
    EXPECT_EQ(row.result, Text(t)) << row.name;
    Tree const copy(t);  // a copy walks every link once more
    EXPECT_EQ(row.result, Text(copy)) << row.name;
  }
}

TEST(tree, EraseAnswersTheNextSibling) {
  Tree t = Sample();
  Sib next = t.erase(Find(t, 4));
  EXPECT_EQ(5, *next);
  next = t.erase(next);
  EXPECT_TRUE(next == Find(t, 2).end());
  EXPECT_EQ(3, *t.erase(Find(t, 2)));
}

TEST(tree, SortIsStableAndGoesDeepOnRequest) {
  auto const byTens = [](int a, int b) { return a / 10 < b / 10; };
  for (bool deep : {false, true}) {
    Tree t(0);
    Pos const top = t.begin();
    Pos const b = t.append_child(top, 21);
    t.append_child(top, 12);
    t.append_child(top, 11);
    t.append_child(top, 22);
    for (int v : {32, 31, 15}) t.append_child(b, v);
    t.sort(top.begin(), top.end(), byTens, deep);
    EXPECT_EQ(deep ? "0(12,11,21(15,32,31),22)" : "0(12,11,21(32,31,15),22)", Text(t)) << deep;
  }
  // A part of the siblings only.
  Tree t(0);
  Pos const top = t.begin();
  for (int v : {50, 40, 30, 20, 10}) t.append_child(top, v);
  t.sort(Sib(Find(t, 40)), Sib(Find(t, 10)), byTens, false);
  EXPECT_EQ("0(50,20,30,40,10)", Text(t));
  t.sort(Sib(Find(t, 50)), Sib(Find(t, 50)), byTens, true);  // nothing to sort
  EXPECT_EQ("0(50,20,30,40,10)", Text(t));
}

TEST(tree, EqualComparesValuesAndChildCounts) {
  auto const same = [](int a, int b) { return a == b; };
  Tree const a = Sample();
  Tree flat(1);
  for (int v : {2, 4, 5, 3}) flat.append_child(flat.begin(), v);
  Tree other = Sample();
  EXPECT_TRUE(Tree::equal(a.begin(), a.end(), other.begin(), same));
  EXPECT_FALSE(Tree::equal(a.begin(), a.end(), flat.begin(), same));
  *Find(other, 5) = 6;
  EXPECT_FALSE(Tree::equal(a.begin(), a.end(), other.begin(), same));
  Tree const shorter(1);
  EXPECT_FALSE(Tree::equal(a.begin(), a.end(), shorter.begin(), same));
}
