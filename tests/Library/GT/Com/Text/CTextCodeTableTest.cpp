#include "GT/Com/Text/CTextCodeTable.h"

#include <gtest/gtest.h>

namespace {

using GT::CTextCodeTable;

TEST(CTextCodeTable, TextsByPageAndId) {
  CTextCodeTable t;
  std::string const& missing = t.ToText(7);
  EXPECT_EQ("", missing);
  EXPECT_EQ(&missing, &t.ToText(CTextCodeTable::PageJapanese, 8));  // one shared empty text
  EXPECT_TRUE(t.ArePagesEquivalent());

  t.Add(CTextCodeTable::PageEnglish, 3, "a");
  t.Add(CTextCodeTable::PageEnglish, 3, "b");
  t.Add(CTextCodeTable::PageEnglish, 4, "four");
  t.Add(CTextCodeTable::PageJapanese, 3, "san");
  EXPECT_EQ("b", t.ToText(3));
  EXPECT_FALSE(t.ArePagesEquivalent());  // page 1 lacks id 4

  t.SetPage(CTextCodeTable::PageJapanese);
  EXPECT_EQ("san", t.ToText(3));
  EXPECT_EQ("", t.ToText(4));
  t.SetPage(static_cast<CTextCodeTable::EPage>(2));  // ignored
  EXPECT_EQ("san", t.ToText(3));

  t.Add(CTextCodeTable::PageJapanese, 4, "yon");
  t.Add(CTextCodeTable::PageJapanese, 5, "go");
  EXPECT_TRUE(t.ArePagesEquivalent());  // extra ids on page 1 do not count

  t.Remove(CTextCodeTable::PageJapanese, 4);
  t.Remove(CTextCodeTable::PageJapanese, 99);
  EXPECT_EQ("", t.ToText(4));
  EXPECT_EQ("four", t.ToText(CTextCodeTable::PageEnglish, 4));

  // Pages outside the two are neither written nor read.
  auto const bad = static_cast<CTextCodeTable::EPage>(-1);
  t.Add(bad, 1, "x");
  t.Remove(bad, 3);
  EXPECT_EQ("", t.ToText(bad, 1));
  EXPECT_EQ("b", t.ToText(CTextCodeTable::PageEnglish, 3));

  t.Initialize();
  EXPECT_EQ("", t.ToText(CTextCodeTable::PageEnglish, 3));
  EXPECT_EQ("", t.ToText(5));
  t.Add(CTextCodeTable::PageJapanese, 5, "go");
  EXPECT_EQ("go", t.ToText(5));  // the page chosen before stays
}

}  // namespace
