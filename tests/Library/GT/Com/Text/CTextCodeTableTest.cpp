#include "GT/Com/Text/CTextCodeTable.h"

#include <gtest/gtest.h>

using GT::CTextCodeTable;

TEST(TextCodeTable, MissingTextIsOneSharedEmptyString) {
  CTextCodeTable table;
  std::string const& a = table.ToText(7);
  std::string const& b = table.ToText(CTextCodeTable::PageJapanese, 7);
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(&a, &b);
  table.Remove(CTextCodeTable::PageEnglish, 7);  // absent: nothing happens
  EXPECT_TRUE(table.ArePagesEquivalent());
}

TEST(TextCodeTable, PagesAreSeparateAndLaterAddReplaces) {
  CTextCodeTable table;
  table.Add(CTextCodeTable::PageEnglish, 3, "a");
  table.Add(CTextCodeTable::PageEnglish, 3, "b");
  table.Add(CTextCodeTable::PageEnglish, 4, "four");
  table.Add(CTextCodeTable::PageJapanese, 3, "\xe3\x81\x82");
  EXPECT_EQ("b", table.ToText(3));
  EXPECT_EQ("b", table.ToText(CTextCodeTable::PageEnglish, 3));

  table.SetPage(CTextCodeTable::PageJapanese);
  EXPECT_EQ("\xe3\x81\x82", table.ToText(3));
  EXPECT_EQ("", table.ToText(4));  // English only

  table.Remove(CTextCodeTable::PageJapanese, 3);
  EXPECT_EQ("", table.ToText(3));
  EXPECT_EQ("b", table.ToText(CTextCodeTable::PageEnglish, 3));

  table.Initialize();  // empties both pages, keeps the page choice
  EXPECT_EQ("", table.ToText(CTextCodeTable::PageEnglish, 3));
  table.Add(CTextCodeTable::PageJapanese, 1, "x");
  EXPECT_EQ("x", table.ToText(1));
}

TEST(TextCodeTable, EquivalenceLooksOnlyAtEnglishIds) {
  CTextCodeTable table;
  table.Add(CTextCodeTable::PageEnglish, 0, "zero");
  EXPECT_FALSE(table.ArePagesEquivalent());
  table.Add(CTextCodeTable::PageJapanese, 0, "rei");
  EXPECT_TRUE(table.ArePagesEquivalent());
  table.Add(CTextCodeTable::PageJapanese, 9, "extra");
  EXPECT_TRUE(table.ArePagesEquivalent());
}

TEST(TextCodeTable, PageOutsideTheTwoIsIgnored) {
  CTextCodeTable table;
  table.Add(CTextCodeTable::PageEnglish, 1, "one");
  table.SetPage(static_cast<CTextCodeTable::EPage>(5));
  EXPECT_EQ("one", table.ToText(1));
  table.Add(static_cast<CTextCodeTable::EPage>(-1), 1, "bad");
  EXPECT_EQ("", table.ToText(static_cast<CTextCodeTable::EPage>(2), 1));
  EXPECT_EQ("one", table.ToText(1));
}
