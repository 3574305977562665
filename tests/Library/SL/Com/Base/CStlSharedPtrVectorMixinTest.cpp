#include "SL/Com/Base/CStlSharedPtrVectorMixin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

class IBase {
public:
  virtual ~IBase() {}
};

class CShown : public IBase {
public:
  explicit CShown(int v) : value(v) {}
  int value;
};

class COther : public IBase {};

class CShownObject : public SL::CObject {};

class CVector : public SL::CStlSharedPtrVectorMixin<IBase, CShown> {
public:
  CStorage& Implementer() override { return storage; }
  CStorage const& Implementer() const override { return storage; }
  CStorage storage;
};

boost::shared_ptr<CShown> Shown(int v) { return boost::shared_ptr<CShown>(new CShown(v)); }

TEST(CStlSharedPtrVectorMixin, CheckedAccessVerifiesIndexAndType) {
  CVector v;
  v.storage.push_back(boost::shared_ptr<IBase>(new COther));
  v.push_back(Shown(2));
  EXPECT_EQ(nullptr, v.get(0).get());
  EXPECT_EQ(2, v.get(1)->value);
  EXPECT_EQ(2, v.at(1).value);
  EXPECT_EQ(2, v[1].value);
  EXPECT_THROW(v.at(v.size()), std::out_of_range);
  EXPECT_THROW(v.get(v.size()), std::out_of_range);
  v.set(0, Shown(7));
  EXPECT_EQ(7, v.front().value);
  EXPECT_EQ(2, v.back().value);
}

TEST(CStlSharedPtrVectorMixin, StorageOperations) {
  CVector v;
  v.resize(3);
  EXPECT_EQ(3u, v.size());
  for (unsigned long i = 0; i < v.size(); ++i) EXPECT_EQ(nullptr, v.get(i).get());
  v.assign(2, Shown(4));
  EXPECT_EQ(2u, v.size());
  EXPECT_EQ(v.get(0), v.get(1));
  v.resize(4, Shown(5));
  EXPECT_EQ(5, v[3].value);
  v.pop_back();
  EXPECT_EQ(3u, v.size());
  v.reserve(10);
  EXPECT_GE(v.capacity(), 10u);
  EXPECT_GT(v.max_size(), 0u);
  v.clear();
  EXPECT_TRUE(v.empty());
  EXPECT_TRUE(v.erase(v.begin()) == v.begin());
  EXPECT_TRUE(v.erase(v.begin(), v.end()) == v.begin());
}

TEST(CStlSharedPtrVectorMixin, InsertAndEraseThroughIterators) {
  CVector v;
  v.push_back(Shown(1));
  v.push_back(Shown(3));
  CVector::iterator at = v.insert(v.begin() + 1, Shown(2));
  EXPECT_EQ(2, at->value);
  v.insert(v.end(), 2, Shown(9));
  ASSERT_EQ(5u, v.size());
  EXPECT_EQ(9, v[4].value);
  CVector::iterator next = v.erase(v.begin());
  EXPECT_EQ(2, (*next).value);
  next = v.erase(v.begin() + 2, v.end());
  EXPECT_TRUE(next == v.end());
  ASSERT_EQ(2u, v.size());
  EXPECT_EQ(3, v[1].value);
}

TEST(CStlSharedPtrVectorMixin, IteratorsMoveCompareAndWorkWithAlgorithms) {
  CVector v;
  for (int i = 0; i < 5; ++i) v.push_back(Shown(4 - i));
  CVector::iterator a = v.begin();
  CVector::iterator b = v.begin();
  EXPECT_TRUE(a.Implementer().Equals(b.Implementer()));
  EXPECT_FALSE(a.Implementer().Equals(CShownObject()));
  ++b;
  EXPECT_TRUE(a < b);
  EXPECT_EQ(1, b - a);
  EXPECT_EQ(5, v.end() - v.begin());
  EXPECT_EQ(3, a[1].value);
  b += 3;
  EXPECT_EQ(0, b->value);
  b -= 2;
  --b;
  EXPECT_EQ(3, (*b).value);
  CVector::iterator c = b++;
  EXPECT_EQ(3, c->value);
  EXPECT_EQ(2, b->value);
  std::sort(v.begin(), v.end(), [](CShown const& x, CShown const& y) { return x.value < y.value; });
  int expected = 0;
  CVector const& cv = v;
  for (CVector::const_iterator it = cv.begin(); it != cv.end(); ++it)
    EXPECT_EQ(expected++, it->value);
  EXPECT_EQ(4, v.rbegin()->value);
  EXPECT_EQ(5, std::distance(cv.rbegin(), cv.rend()));
}

TEST(CStlSharedPtrVectorMixin, CopiedIteratorsMoveIndependently) {
  CVector v;
  v.push_back(Shown(0));
  v.push_back(Shown(1));
  CVector::iterator a = v.begin();
  CVector::iterator b(a);
  ++b;
  EXPECT_EQ(0, a->value);
  a = b;
  ++b;
  EXPECT_EQ(1, a->value);
  EXPECT_TRUE(b == v.end());
  v.storage[0].reset();
  EXPECT_EQ(nullptr, v.begin().operator->());
}

}  // namespace
