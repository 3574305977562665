#include "SL/Com/Base/CStlSharedPtrVectorMixin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

struct CBase {
  virtual ~CBase() = default;
  int value = 0;
};
struct CItem : CBase {
  explicit CItem(int v) { value = v; }
};
struct COther : CBase {};

class CItems : public SL::CStlSharedPtrVectorMixin<CBase, CItem> {
public:
  CStorage& Implementer() override { return mStorage; }
  CStorage const& Implementer() const override { return mStorage; }
  CStorage mStorage;
};

using Ptr = boost::shared_ptr<CItem>;
using Iterator = CItems::iterator;
using Implementation = SL::CRandomAccessIteratorImplement<false, CItem, CItems::CPolicy>;

Ptr Item(int v) { return Ptr(new CItem(v)); }

CItems Numbers(std::vector<int> const& values) {
  CItems items;
  for (int v : values) items.push_back(Item(v));
  return items;
}

std::vector<int> Values(CItems const& items) {
  std::vector<int> values;
  for (auto it = items.begin(); it != items.end(); ++it) values.push_back(it->value);
  return values;
}

// An iterator of another kind: every answer is a placeholder.
class CForeignIterator : public SL::IRandomAccessIterator<false, CItem> {
public:
  CForeignIterator* Clone() const override { return new CForeignIterator; }
  CItem& operator*() const override { return mItem; }
  CItem* operator->() const override { return &mItem; }
  void operator++() override {}
  void operator--() override {}
  void operator+=(int) override {}
  void operator-=(int) override {}
  int operator-(IRandomAccessIterator const&) const override { return 99; }
  CItem& operator[](int) const override { return mItem; }
  bool operator<(IRandomAccessIterator const&) const override { return true; }
  mutable CItem mItem{0};
};

}  // namespace

TEST(CStlSharedPtrVectorMixin, ElementAccessConvertsToThePresentedType) {
  CItems items = Numbers({1, 2, 3});
  CItems const& view = items;
  EXPECT_EQ(3u, view.size());
  EXPECT_EQ(1, items.front().value);
  EXPECT_EQ(1, view.front().value);
  EXPECT_EQ(3, items.back().value);
  EXPECT_EQ(3, view.back().value);
  EXPECT_EQ(2, items[1].value);
  EXPECT_EQ(2, view[1].value);
  EXPECT_EQ(3, items.at(2).value);
  EXPECT_EQ(3, view.at(2).value);
  EXPECT_EQ(items.mStorage[1].get(), items.get(1).get());
  items[0].value = 10;
  EXPECT_EQ(10, items.mStorage[0]->value);

  items.set(1, Item(20));
  EXPECT_EQ(20, view[1].value);
  // get checks the type: an element of another kind gives an empty pointer.
  items.mStorage[2].reset(new COther);
  EXPECT_FALSE(items.get(2));
  EXPECT_EQ(3u, items.size());

  for (unsigned long bad : {3ul, 100ul}) {
    EXPECT_THROW(items.at(bad), std::out_of_range);
    EXPECT_THROW(view.at(bad), std::out_of_range);
    EXPECT_THROW(items.get(bad), std::out_of_range);
  }
}

TEST(CStlSharedPtrVectorMixin, SizingPassesToTheStorage) {
  CItems items;
  EXPECT_TRUE(items.empty());
  items.resize(3);
  EXPECT_EQ(3u, items.size());
  for (unsigned long i = 0; i < 3; ++i) EXPECT_FALSE(items.get(i));
  Ptr const shared = Item(7);
  items.resize(5, shared);
  EXPECT_EQ(shared, items.get(3));
  EXPECT_EQ(shared, items.get(4));
  EXPECT_FALSE(items.get(2));
  items.assign(2, shared);
  EXPECT_EQ(2u, items.size());
  EXPECT_EQ(shared, items.get(0));
  EXPECT_EQ(3, shared.use_count());
  items.reserve(40);
  EXPECT_GE(items.capacity(), 40u);
  EXPECT_EQ(items.mStorage.max_size(), items.max_size());
  items.pop_back();
  EXPECT_EQ(1u, items.size());
  items.clear();
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(1, shared.use_count());
}

TEST(CStlSharedPtrVectorMixin, InsertAndEraseAnswerIteratorsAtTheirPlace) {
  struct {
    char const* name;
    Iterator (*edit)(CItems&);
    std::vector<int> result;
    int at;  // the value the answer points at; -1 for end()
  } const rows[] = {
      {"insert first", [](CItems& c) { return c.insert(c.begin(), Item(9)); }, {9, 1, 2, 3}, 9},
      {"insert last", [](CItems& c) { return c.insert(c.end(), Item(9)); }, {1, 2, 3, 9}, 9},
      {"insert n",
       [](CItems& c) {
         c.insert(c.begin() + 1, 2, Item(8));
         return c.begin();
       },
       {1, 8, 8, 2, 3},
       1},
      {"erase one", [](CItems& c) { return c.erase(c.begin() + 1); }, {1, 3}, 3},
      {"erase the last", [](CItems& c) { return c.erase(c.end() - 1); }, {1, 2}, -1},
      {"erase a range", [](CItems& c) { return c.erase(c.begin(), c.begin() + 2); }, {3}, 3},
      {"erase nothing",
       [](CItems& c) { return c.erase(c.begin() + 1, c.begin() + 1); },
       {1, 2, 3},
       2},
      {"erase all", [](CItems& c) { return c.erase(c.begin(), c.end()); }, {}, -1},
  };
  for (auto const& row : rows) {
    CItems items = Numbers({1, 2, 3});
    Iterator const answer = row.edit(items);
    EXPECT_EQ(row.result, Values(items)) << row.name;
    if (row.at < 0)
      EXPECT_TRUE(answer == items.end()) << row.name;
    else
      EXPECT_EQ(row.at, answer->value) << row.name;
  }
  // Erasing from an empty collection erases nothing and answers begin().
  CItems empty;
  EXPECT_TRUE(empty.erase(empty.begin()) == empty.begin());
  EXPECT_TRUE(empty.erase(empty.begin(), empty.end()) == empty.begin());
  EXPECT_TRUE(empty.empty());
}

TEST(CStlSharedPtrVectorMixin, RandomAccessIteratorArithmetic) {
  CItems items = Numbers({10, 20, 30, 40});
  Iterator it = items.begin();
  EXPECT_EQ(10, (*it).value);
  EXPECT_EQ(20, (++it)->value);
  EXPECT_EQ(20, (it++)->value);
  EXPECT_EQ(30, it->value);
  EXPECT_EQ(30, (it--)->value);
  EXPECT_EQ(10, (--it)->value);
  it += 3;
  EXPECT_EQ(40, it->value);
  it -= 2;
  EXPECT_EQ(20, it->value);
  EXPECT_EQ(40, (it + 2)->value);
  EXPECT_EQ(10, (it - 1)->value);
  EXPECT_EQ(30, it[1].value);
  EXPECT_EQ(1, it - items.begin());
  EXPECT_EQ(-4, items.begin() - items.end());
  EXPECT_EQ(4, std::distance(items.begin(), items.end()));
  Iterator const begin = items.begin();
  EXPECT_TRUE(begin < it);
  EXPECT_FALSE(it < begin);
  EXPECT_TRUE(it > begin);
  EXPECT_TRUE(begin <= begin);
  EXPECT_TRUE(it >= begin);
  EXPECT_FALSE(begin >= it);
  EXPECT_TRUE(begin != it);
  EXPECT_TRUE(begin + 1 == it);
  // Copies and assignments are independent positions.
  Iterator copy(it);
  ++copy;
  EXPECT_EQ(20, it->value);
  copy = begin;
  EXPECT_EQ(10, copy->value);
  EXPECT_FALSE(Iterator() == Iterator());
  EXPECT_FALSE(Iterator() == begin);

  auto const found =
      std::find_if(items.begin(), items.end(), [](CItem const& item) { return item.value == 30; });
  EXPECT_EQ(2, found - items.begin());
  std::vector<int> reversed;
  for (auto r = items.rbegin(); r != items.rend(); ++r) reversed.push_back(r->value);
  EXPECT_EQ((std::vector<int>{40, 30, 20, 10}), reversed);
  CItems const& view = items;
  std::vector<int> reversedView;
  for (auto r = view.rbegin(); r != view.rend(); ++r) reversedView.push_back((*r).value);
  EXPECT_EQ(reversed, reversedView);
}

TEST(CStlSharedPtrVectorMixin, IteratorImplementationsCompareOnlyWithTheirKind) {
  CItems items = Numbers({1, 2});
  items.push_back(Ptr());
  Implementation const first(items.mStorage.begin());
  Implementation const same(items.mStorage.begin());
  Implementation const second(items.mStorage.begin() + 1);
  std::unique_ptr<Implementation> const clone(second.Clone());
  EXPECT_TRUE(first.Equals(same));
  EXPECT_FALSE(first.Equals(second));
  EXPECT_TRUE(clone->Equals(second));
  EXPECT_EQ(2, clone->operator*().value);
  EXPECT_FALSE(first.Equals(SL::CObject()));
  CForeignIterator const foreign;
  EXPECT_FALSE(first.Equals(foreign));
  EXPECT_EQ(0, first - foreign);
  EXPECT_FALSE(first < foreign);
  EXPECT_EQ(-1, first - second);
  EXPECT_TRUE(first < second);
  EXPECT_EQ(2, first[1].value);
  // An empty element has no object behind it.
  Implementation const empty(items.mStorage.begin() + 2);
  EXPECT_EQ(nullptr, empty.operator->());
  EXPECT_EQ(nullptr, (items.begin() + 2).operator->());
  EXPECT_TRUE(Iterator(first) == items.begin());
  EXPECT_FALSE(Iterator(first) == Iterator(foreign));
}
