#include "GT/Com/Enum/CPairTable.h"
#include "GT/Com/Text/CStringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <typeinfo>
#include <vector>

namespace {
GT::CStringTable::CPair const kDefault(-1, std::string());
}

TEST(CStringTable, LooksUpBothWaysWithDefaultOnMiss) {
  GT::CStringTable::CPair const pairs[] = {{4, "FOUR"}, {2, "TWO"}, {4, "QUATRE"}, {7, "two"}};
  GT::CStringTable const table(pairs, 4, kDefault);
  EXPECT_EQ(table.GetCount(), 4);
  EXPECT_EQ(table.ToString(4), "FOUR");  // first of two equal ids
  EXPECT_EQ(table.ToString(7), "two");
  EXPECT_EQ(table.ToString(3), "");
  EXPECT_EQ(table.ToString(-1), "");
  EXPECT_EQ(table.ToId("QUATRE"), 4);
  EXPECT_EQ(table.ToId("TWO"), 2);  // exact, case-sensitive
  EXPECT_EQ(table.ToId("Two"), -1);
  EXPECT_EQ(table.ToId("TWO "), -1);
  EXPECT_EQ(table.ToId(""), -1);
  EXPECT_EQ(table.ToIndexFirst(2), 1);
  EXPECT_EQ(table.ToIndexFirst(99), 4);
  EXPECT_EQ(table.ToIndexSecond("two"), 3);
  EXPECT_EQ(table.ToIndexSecond("none"), 4);
  EXPECT_EQ(table.ToFirst("nope").first, -1);
}

TEST(CStringTable, EmptyAndReinitialised) {
  GT::CStringTable table(std::vector<GT::CStringTable::CPair>(), kDefault);
  EXPECT_EQ(table.GetCount(), 0);
  EXPECT_EQ(table.ToString(0), "");
  EXPECT_EQ(table.ToId("x"), -1);
  EXPECT_EQ(table.ToIndexFirst(-1), 0);  // the default pair is never found as a real one

  GT::CPairTable<int, std::string>& base = table;
  base.Initialize({{1, "A"}, {2, "B"}}, GT::CStringTable::CPair(0, "?"));
  EXPECT_EQ(table.GetCount(), 2);
  EXPECT_EQ(table.ToString(2), "B");
  EXPECT_EQ(table.ToString(3), "?");
  EXPECT_EQ(table.ToId("C"), 0);
  table.Initialize({}, kDefault);
  EXPECT_EQ(table.GetCount(), 0);
  EXPECT_EQ(table.ToString(1), "");
}

TEST(CPairTable, TypeTableComparesByAddress) {
  using CTypeTable = GT::CPairTable<int, std::type_info const*>;
  CTypeTable const types({{0, &typeid(int)}, {1, &typeid(double)}}, CTypeTable::CPair(-1, nullptr));
  EXPECT_EQ(types.ToFirst(&typeid(double)).first, 1);
  EXPECT_EQ(types.ToIndexSecond(&typeid(char)), types.GetCount());
  EXPECT_EQ(types.ToSecond(0), &typeid(int));
  EXPECT_EQ(types.ToSecond(5), nullptr);
}
