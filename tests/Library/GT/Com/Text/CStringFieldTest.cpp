#include "GT/Com/Text/CStringField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Strings;

Strings Fields(GT::CStringField const& f) {
  Strings out;
  for (int i = 0; i < f.GetCount(); ++i) out.push_back(f.Get(i, "<none>"));
  return out;
}

struct CharCase {
  char const* text;
  bool collapse;
  Strings fields;
};

TEST(CStringField, SplitsAtOneCharacterKeepingQuotedStretches) {
  CharCase const cases[] = {
      {"a,,b", false, {"a", "", "b"}},
      {"a,,b", true, {"a", "b"}},
      {"\"x,y\",z", false, {"\"x,y\"", "z"}},
      {"", false, {""}},
      {",a", true, {"", "a"}},  // a leading separator gives an empty first field
      {"a,", false, {"a", ""}},
      {"a,,,", true, {"a", ""}},
      {"\"a\\\",b\",c", false, {"\"a\\\",b\"", "c"}},  // escaped quote inside the stretch
      {"\"a\\\\\",b", false, {"\"a\\\\\"", "b"}},      // escaped backslash ends before the quote
      {"\"ab\"\"c,d\",e", false, {"\"ab\"\"c", "d\",e"}},  // no new stretch right after one
      {"\"a,b", false, {"\"a,b"}},                         // an open stretch runs to the end
      {"x\"a,b\"y,z", false, {"x\"a,b\"y", "z"}}};
  for (CharCase const& c : cases) {
    GT::CStringField f(c.text, ',', c.collapse);
    EXPECT_EQ(c.fields, Fields(f)) << c.text << " collapse " << c.collapse;
    GT::CStringField g(std::string(c.text), ',', c.collapse);
    EXPECT_EQ(c.fields, Fields(g)) << c.text;
  }
}

struct StringsCase {
  Strings separators;
  char const* text;
  bool collapse;
  Strings fields;
};

TEST(CStringField, SplitsAtSeparatorStringsInListOrder) {
  StringsCase const cases[] = {
      {{"::", ":"}, "a::b:c", false, {"a", "b", "c"}},
      {{":", "::"}, "a::b:c", false, {"a", "", "b", "c"}},
      {{"::", ":"}, "a:::b", false, {"a", "", "b"}},
      {{"::", ":"}, "a:::b", true, {"a", "b"}},
      {{"--"}, "a--b-c--", false, {"a", "b-c", ""}},
      {{"", ","}, "a,b", false, {"a,b"}},  // an empty string ends the search
      {{",", ""}, "a,b", false, {"a", "b"}},
      {{}, "a,b", false, {"a,b"}},
      {{"abc"}, "xab", false, {"xab"}},  // a separator never reaches past the text
  };
  for (StringsCase const& c : cases) {
    GT::CStringField f(c.text, c.separators, c.collapse);
    EXPECT_EQ(c.fields, Fields(f)) << c.text;
    GT::CStringField g(std::string(c.text), c.separators, c.collapse);
    EXPECT_EQ(c.fields, Fields(g)) << c.text;
  }
  std::vector<char> const chars = {',', ';'};
  EXPECT_EQ((Strings{"a", "b", "", "c"}), Fields(GT::CStringField("a;b,;c", chars, false)));
  EXPECT_EQ((Strings{"a", "b", "c"}), Fields(GT::CStringField(std::string("a;b,;c"), chars, true)));
  EXPECT_EQ((Strings{"a", "b-c"}), Fields(GT::CStringField("a--b-c", std::string("--"), false)));
  EXPECT_EQ((Strings{"a", "b"}),
            Fields(GT::CStringField(std::string("a----b"), std::string("--"), true)));
}

TEST(CStringField, ParseReplacesFieldsAndKeepsSeparators) {
  GT::CStringField f("a;b", ';', true);
  f.SetSeparator(',', false);
  EXPECT_EQ((Strings{"a", "b"}), Fields(f));  // not until the next Parse
  f.Parse("x,,y;z");
  EXPECT_EQ((Strings{"x", "", "y;z"}), Fields(f));
  f.Parse(std::string("1,2"));
  EXPECT_EQ((Strings{"1", "2"}), Fields(f));
  f.Parse(static_cast<char const*>(nullptr));
  EXPECT_EQ(Strings{""}, Fields(f));

  f.SetSeparator(std::vector<std::string>{"=>"}, true);
  f.Parse("k=>=>v");
  EXPECT_EQ((Strings{"k", "v"}), Fields(f));
  f.SetSeparator(std::string("."), false);
  f.Parse("a..b");
  EXPECT_EQ((Strings{"a", "", "b"}), Fields(f));
  f.SetSeparator(std::vector<char>{'/'}, true);
  f.Parse("p//q");
  EXPECT_EQ((Strings{"p", "q"}), Fields(f));

  // A text taken from the object's own fields.
  f.SetSeparator(',', false);
  f.Parse("head,p;q");
  f.SetSeparator(';', false);
  f.Parse(f.Get(1, ""));
  EXPECT_EQ((Strings{"p", "q"}), Fields(f));
}

TEST(CStringField, OutOfRangeIndexGivesTheDefault) {
  GT::CStringField const f("", ',', false);
  char const* const d = "default";
  EXPECT_EQ(1, f.GetCount());
  EXPECT_STREQ("", f.Get(0, d));
  EXPECT_EQ(d, f.Get(5, d));
  EXPECT_EQ(d, f.Get(1, d));
  EXPECT_EQ(d, f.Get(-1, d));
  EXPECT_EQ(nullptr, f.Get(2, nullptr));
}

}  // namespace
