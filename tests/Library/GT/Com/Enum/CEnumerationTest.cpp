#include "GT/Com/Enum/CEnumeration.h"

#include <gtest/gtest.h>

#include "Support/RangeError.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Ids deliberately out of numeric order: bounds follow the table.
class CColour : public GT::CEnumeration<CColour> {
public:
  CColour() {}
  explicit CColour(int v) : GT::CEnumeration<CColour>(v) {}
  explicit CColour(std::string const& n) : GT::CEnumeration<CColour>(n) {}
};

class CEmptyKind : public GT::CEnumeration<CEmptyKind> {
public:
  CEmptyKind() {}
  explicit CEmptyKind(int v) : GT::CEnumeration<CEmptyKind>(v) {}
  explicit CEmptyKind(std::string const& n) : GT::CEnumeration<CEmptyKind>(n) {}
};

class COther : public GT::CEnumeration<COther> {
public:
  explicit COther(int v) : GT::CEnumeration<COther>(v) {}
  explicit COther(std::string const& n) : GT::CEnumeration<COther>(n) {}
};

}  // namespace

template <>
GT::CStringTable GT::CEnumeration<CColour>::sNames({{5, "RED"}, {9, "GREEN"}, {2, "BLUE"}, {7, ""}},
                                                   GT::CStringTable::CPair(-1, std::string()));
template <>
GT::CStringTable GT::CEnumeration<CEmptyKind>::sNames(std::vector<GT::CStringTable::CPair>(),
                                                      GT::CStringTable::CPair(-1, std::string()));
template <>
GT::CStringTable GT::CEnumeration<COther>::sNames({{5, "FIVE"}},
                                                  GT::CStringTable::CPair(-1, std::string()));

using TestSupport::ExpectRangeError;

TEST(CEnumeration, ChecksIdsAndNames) {
  EXPECT_EQ(CColour(9).GetValue(), 9);
  EXPECT_EQ(CColour(9).ToString(), "GREEN");
  EXPECT_EQ(CColour("BLUE").GetValue(), 2);
  ExpectRangeError([] { CColour c(3); }, 5, 7);
  ExpectRangeError([] { CColour c(-1); }, 5, 7);
  ExpectRangeError([] { CColour c(7); }, 5, 7);  // listed, but without a name
  ExpectRangeError([] { CColour c("red"); }, 5, 7);
  ExpectRangeError([] { CColour c(""); }, 5, 7);  // the default pair's name
  ExpectRangeError([] { CEmptyKind k(0); }, 0, 0);
}

TEST(CEnumeration, DefaultIsLowerBoundAndCopiesAreUnchecked) {
  CColour const d;
  EXPECT_EQ(d.GetValue(), 5);
  EXPECT_EQ(CEmptyKind().GetValue(), 0);
  EXPECT_EQ(CEmptyKind().ToString(), "");
  CEmptyKind const copy(CEmptyKind{});
  EXPECT_EQ(copy.GetValue(), 0);
  CColour a(2);
  a = CColour(9);
  EXPECT_EQ(a.GetValue(), 9);
  EXPECT_TRUE(a == CColour("GREEN"));
  EXPECT_TRUE(a != CColour(5));
}

TEST(CEnumeration, AssignOnlyFromTheSameEnumeration) {
  CColour target(2);
  COther const other(5);
  EXPECT_EQ(&target.Assign(other), &target);
  EXPECT_EQ(target.GetValue(), 2);
  target.Assign(CColour(9));
  EXPECT_EQ(target.GetValue(), 9);
  GT::IRangedNumber<int>& self = target;
  target.Assign(self);
  EXPECT_EQ(target.GetValue(), 9);
}

TEST(CEnumeration, CreateMakesTheSameTypeOrThrows) {
  CColour const prototype;
  std::unique_ptr<GT::IRangedNumber<int> > const byId = prototype.Create(2);
  ASSERT_TRUE(byId);
  EXPECT_NE(dynamic_cast<CColour*>(byId.get()), nullptr);
  EXPECT_EQ(byId->ToString(), "BLUE");
  std::unique_ptr<GT::IEnumeration<int> > const byName = prototype.Create(std::string("RED"));
  EXPECT_EQ(byName->GetValue(), 5);
  ExpectRangeError([&] { prototype.Create(4); }, 5, 7);
  ExpectRangeError([&] { prototype.Create(std::string("PINK")); }, 5, 7);
}

TEST(CEnumeration, DescriptionBoundsNamesAndInstances) {
  GT::IRangedNumberDescription<int> const& d = CColour().GetDescription();
  EXPECT_EQ(&d, &CColour(2).GetDescription());  // one per enumeration
  EXPECT_EQ(d.GetLowerBound(), 5);
  EXPECT_EQ(d.GetUpperBound(), 7);
  EXPECT_EQ(d.GetResolution(), 1);
  EXPECT_EQ(d.ToString(9), "GREEN");
  EXPECT_EQ(d.ToString(100), "");
  std::vector<int> ids;
  for (auto it = d.Instances(); it->HasNext();) ids.push_back(it->Next());
  EXPECT_EQ(ids, (std::vector<int>{5, 9, 2, 7}));

  GT::IRangedNumberDescription<int> const& empty = CEmptyKind().GetDescription();
  EXPECT_EQ(empty.GetLowerBound(), 0);
  EXPECT_EQ(empty.GetUpperBound(), 0);
  EXPECT_FALSE(empty.Instances()->HasNext());
  EXPECT_TRUE(CColour().Verify(2));
  EXPECT_FALSE(CColour().Verify(7));
}

namespace {
struct CPlainRange : GT::IRangedNumberDescription<int> {
  int GetLowerBound() const override { return 0; }
  int GetUpperBound() const override { return 1; }
  int GetResolution() const override { return 1; }
  std::string ToString(int) const override { return std::string(); }
};
}  // namespace

TEST(CEnumeration, PlainDescriptionHasNoInstances) { EXPECT_FALSE(CPlainRange().Instances()); }
