#include "GT/Com/Enum/CEnumeration.h"
#include "SL/Com/Format/CBitDepth.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace {

// Ids deliberately out of numeric order, one id twice and one without a name.
class CTone : public GT::CEnumeration<CTone> {
public:
  CTone() {}
  explicit CTone(int id) : GT::CEnumeration<CTone>(id) {}
  explicit CTone(std::string const& name) : GT::CEnumeration<CTone>(name) {}
};

class CNothing : public GT::CEnumeration<CNothing> {
public:
  CNothing() {}
  explicit CNothing(int id) : GT::CEnumeration<CNothing>(id) {}
  explicit CNothing(std::string const& name) : GT::CEnumeration<CNothing>(name) {}
};

GT::CStringTable::CPair const kTones[] = {
    {30, "thirty"}, {10, "ten"}, {20, "twenty"}, {20, "twin"}, {50, ""}};
GT::CStringTable::CPair const kDefault(-1, std::string());

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<CTone>::sNames(kTones, sizeof kTones / sizeof kTones[0],
                                                 kDefault);
template <>
GT::CStringTable GT::CEnumeration<CNothing>::sNames(std::vector<GT::CStringTable::CPair>(),
                                                    kDefault);

namespace {

template <typename F>
void ExpectError(F make, int lower, int upper, char const* what) {
  try {
    make();
    ADD_FAILURE() << what << ": no exception";
  } catch (GT::IRangedNumber<int>::CError const& e) {
    EXPECT_EQ(lower, e.mLowerBound) << what;
    EXPECT_EQ(upper, e.mUpperBound) << what;
  }
}

std::vector<int> Ids(GT::IRangedNumberDescription<int> const& d) {
  std::vector<int> ids;
  auto it = d.Instances();
  while (it->HasNext()) ids.push_back(it->Next());
  return ids;
}

TEST(CStringTable, LookupsBothWaysWithTheDefaultPairOnAMiss) {
  GT::CStringTable const& t = GT::CEnumeration<CTone>::sNames;
  EXPECT_EQ(5, t.GetCount());
  struct Case {
    int id;
    int index;
    char const* name;
  } const byId[] = {{30, 0, "thirty"}, {10, 1, "ten"}, {20, 2, "twenty"},
                    {50, 4, ""},       {99, 5, ""},    {-1, 5, ""}};
  for (auto const& c : byId) {
    EXPECT_EQ(c.index, t.ToIndexFirst(c.id)) << c.id;
    EXPECT_EQ(c.name, t.ToString(c.id)) << c.id;
  }
  struct Name {
    char const* name;
    int index;
    int id;
  } const byName[] = {
      {"twin", 3, 20}, {"ten", 1, 10}, {"", 4, 50}, {"Ten", 5, -1}, {"tent", 5, -1}};
  for (auto const& c : byName) {
    EXPECT_EQ(c.index, t.ToIndexSecond(c.name)) << c.name;
    EXPECT_EQ(c.id, t.ToId(c.name)) << c.name;
    EXPECT_EQ(c.id, t.ToFirst(c.name).first) << c.name;
  }

  GT::CStringTable u(std::vector<GT::CStringTable::CPair>{{1, "one"}}, {0, "zero"});
  EXPECT_EQ("zero", u.ToString(2));
  u.Initialize({{7, "seven"}, {8, "eight"}}, {-2, "none"});
  EXPECT_EQ(2, u.GetCount());
  EXPECT_EQ("none", u.ToString(1));
  EXPECT_EQ(-2, u.ToId("one"));
  EXPECT_EQ(8, u.ToId("eight"));
  u.Initialize({}, {-3, "x"});
  EXPECT_EQ(0, u.GetCount());
  EXPECT_EQ(-3, u.ToId("seven"));
}

TEST(CPairTable, TypesCompareByAddress) {
  typedef GT::CPairTable<int, std::type_info const*> CTypes;
  CTypes::CPair const pairs[] = {{1, &typeid(int)}, {2, &typeid(double)}};
  CTypes t(pairs, 2, CTypes::CPair(-1, nullptr));
  EXPECT_EQ(2, t.GetCount());
  EXPECT_EQ(1, t.ToIndexSecond(&typeid(double)));
  EXPECT_EQ(t.GetCount(), t.ToIndexSecond(&typeid(float)));
  EXPECT_EQ(&typeid(int), t.ToSecond(1));
  EXPECT_EQ(nullptr, t.ToSecond(3));
  EXPECT_EQ(-1, t.ToFirst(&typeid(char)).first);
}

TEST(CEnumeration, OnlyNamedValuesConstruct) {
  EXPECT_EQ(10, CTone(10).GetValue());
  EXPECT_EQ(20, CTone("twin").GetValue());
  EXPECT_EQ("twenty", CTone("twin").ToString());  // the first pair of an id names it
  EXPECT_EQ(30, CTone().GetValue());              // the lower bound, unchecked
  ExpectError([] { CTone(50); }, 30, 50, "id without a name");
  ExpectError([] { CTone(11); }, 30, 50, "unknown id");
  ExpectError([] { CTone(-1); }, 30, 50, "default id");
  ExpectError([] { CTone("nope"); }, 30, 50, "unknown name");
  ExpectError([] { CTone(""); }, 30, 50, "empty name");

  CTone const ten(10);
  EXPECT_TRUE(ten.Verify(30));
  EXPECT_FALSE(ten.Verify(50));
  EXPECT_FALSE(ten.Verify(-1));
  auto made = ten.Create(20);
  EXPECT_NE(nullptr, dynamic_cast<CTone*>(made.get()));
  EXPECT_EQ("twenty", made->ToString());
  EXPECT_EQ(30, ten.Create(std::string("thirty"))->GetValue());
  ExpectError([&] { ten.Create(40); }, 30, 50, "Create id");
  ExpectError([&] { ten.Create(std::string("forty")); }, 30, 50, "Create name");

  // The bit-depth table: the bounds are its first and last real entries.
  EXPECT_EQ(SL::nInteger16, SL::CBitDepth(0x10010).GetValue());
  ExpectError([] { SL::CBitDepth(0x10011); }, SL::nNone, SL::nPoint64, "bit depth");
}

TEST(CEnumeration, AssignCopiesOnlyTheSameEnumeration) {
  CTone target(10);
  CTone const other(30);
  EXPECT_EQ(&target, &target.Assign(other));
  EXPECT_EQ(30, target.GetValue());
  target.Assign(target);
  EXPECT_EQ(30, target.GetValue());
  target.Assign(SL::CBitDepth(SL::nInteger16));
  EXPECT_EQ(30, target.GetValue());

  CTone copy(target);
  EXPECT_TRUE(copy == target);
  copy = CTone(20);
  EXPECT_TRUE(copy != target);
  EXPECT_EQ(20, copy.GetValue());
}

TEST(CEnumerationDescription, BoundsFollowTableOrderAndIterationSkipsTheDefault) {
  GT::IRangedNumberDescription<int> const& d = CTone().GetDescription();
  EXPECT_EQ(&d, &CTone(20).GetDescription());  // one per enumeration
  EXPECT_EQ(30, d.GetLowerBound());
  EXPECT_EQ(50, d.GetUpperBound());
  EXPECT_EQ(1, d.GetResolution());
  EXPECT_EQ("ten", d.ToString(10));
  EXPECT_EQ("", d.ToString(12));
  EXPECT_EQ((std::vector<int>{30, 10, 20, 20, 50}), Ids(d));

  // An empty table: bounds 0, no ids, and even the default value fails the check.
  GT::IRangedNumberDescription<int> const& e = CNothing().GetDescription();
  EXPECT_EQ(0, e.GetLowerBound());
  EXPECT_EQ(0, e.GetUpperBound());
  EXPECT_TRUE(Ids(e).empty());
  EXPECT_EQ(0, CNothing().GetValue());
  EXPECT_FALSE(CNothing().Verify(0));
  ExpectError([] { CNothing(0); }, 0, 0, "empty table");
}

// A description that does not enumerate its values.
struct CPlainDescription : GT::IRangedNumberDescription<int> {
  int GetLowerBound() const override { return 0; }
  int GetUpperBound() const override { return 9; }
  int GetResolution() const override { return 1; }
  std::string ToString(int) const override { return std::string(); }
};

TEST(CEnumerationDescription, PlainRangedDescriptionHasNoInstances) {
  EXPECT_EQ(nullptr, CPlainDescription().Instances());
}

}  // namespace
