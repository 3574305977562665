#include "GT/Com/Text/CStringField.h"
#include "GT/Com/Text/CPathSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(GT::CStringField const& f) {
  std::vector<std::string> out;
  for (int i = 0; i < f.GetCount(); ++i) out.push_back(f.Get(i, "?"));
  return out;
}

typedef std::vector<std::string> Strings;

TEST(StringField, SeparatorRunsAndEnds) {
  EXPECT_EQ((Strings{"a", "", "b"}), Fields(GT::CStringField("a,,b", ',', false)));
  EXPECT_EQ((Strings{"a", "b"}), Fields(GT::CStringField("a,,b", ',', true)));
  EXPECT_EQ((Strings{"", "a", ""}), Fields(GT::CStringField(",,a,", ',', true)));
  EXPECT_EQ((Strings{"", "", "a", ""}), Fields(GT::CStringField(",,a,", ',', false)));
  // 0xFF as the character means "use the separator strings", of which there are none.
  EXPECT_EQ((Strings{"x\xffy"}), Fields(GT::CStringField("x\xffy", '\xff', false)));
}

TEST(StringField, EmptyAndNullTextGiveOneEmptyField) {
  GT::CStringField empty("", ',', false);
  EXPECT_EQ(1, empty.GetCount());
  EXPECT_STREQ("", empty.Get(0, "d"));
  EXPECT_STREQ("d", empty.Get(5, "d"));
  EXPECT_STREQ("d", empty.Get(-1, "d"));
  GT::CStringField null(static_cast<char const*>(nullptr), ',', false);
  EXPECT_EQ((Strings{""}), Fields(null));
}

TEST(StringField, QuotedStretchesStayTogether) {
  EXPECT_EQ((Strings{"\"x,y\"", "z"}), Fields(GT::CStringField("\"x,y\",z", ',', false)));
  // Escaped quote and backslash inside the stretch do not end it.
  EXPECT_EQ((Strings{"\"a\\\",b\\\\\"", "c"}),
            Fields(GT::CStringField("\"a\\\",b\\\\\",c", ',', false)));
  // A quote right after the closing one opens no new stretch.
  EXPECT_EQ((Strings{"\"a\"\"b", "c\""}), Fields(GT::CStringField("\"a\"\"b,c\"", ',', false)));
  // Unclosed stretch runs to the end; a trailing lone backslash is harmless.
  EXPECT_EQ((Strings{"\"a,b\\"}), Fields(GT::CStringField("\"a,b\\", ',', false)));
}

TEST(StringField, SeparatorStringsAreTriedInOrder) {
  EXPECT_EQ((Strings{"a", "b", "c"}),
            Fields(GT::CStringField("a::b:c", Strings{"::", ":"}, false)));
  // With ':' first, '::' never matches and yields an empty field.
  EXPECT_EQ((Strings{"a", "", "b", "c"}),
            Fields(GT::CStringField("a::b:c", Strings{":", "::"}, false)));
  // An empty string ends the search.
  EXPECT_EQ((Strings{"a:b"}), Fields(GT::CStringField("a:b", Strings{"", ":"}, false)));
  EXPECT_EQ((Strings{"a", "b", "c"}),
            Fields(GT::CStringField("a;b c", std::vector<char>{';', ' '}, false)));
  EXPECT_EQ((Strings{"a", "b"}),
            Fields(GT::CStringField(std::string("a<>b"), std::string("<>"), true)));
  // A separator string longer than the rest of the text never matches past its end.
  EXPECT_EQ((Strings{"ab<"}), Fields(GT::CStringField("ab<", std::string("<>"), false)));
}

TEST(StringField, ReparseKeepsSettingsAndAcceptsItsOwnField) {
  GT::CStringField f("a|b|c", '|', true);
  f.SetSeparator(',', false);
  EXPECT_EQ((Strings{"a", "b", "c"}), Fields(f));  // no re-parse yet
  f.Parse("x,,y");
  EXPECT_EQ((Strings{"x", "", "y"}), Fields(f));

  // Parsing one of its own fields must copy it before the old text is freed.
  f.Parse("keep,p,,q");
  f.SetSeparator(std::string(","), false);
  f.Parse(f.Get(0, ""));
  EXPECT_EQ((Strings{"keep"}), Fields(f));
  f.Parse("ab,cpd");
  f.SetSeparator('p', true);
  f.Parse(f.Get(1, ""));
  EXPECT_EQ((Strings{"c", "d"}), Fields(f));
}

struct PathCase {
  char const* path;
  char const* directory;
  char const* name;
  char const* extension;
};

TEST(PathSplitter, SplitsDirectoryNameAndExtension) {
  PathCase const cases[] = {
      {"a/b/c.tar.gz", "a/b/", "c.tar", ".gz"},
      {"a/b/", "a/b/", "", ""},
      {".profile", "", "", ".profile"},
      {"name.", "", "name", "."},
      {"x..y", "", "x", ".y"},
      {"/a/b.txt", "/a/", "b", ".txt"},
      {"//a///b", "/a/", "b", ""},
      {"plain", "", "plain", ""},
      {"", "", "", ""},
      // Quotes are ordinary characters in file-system names.
      {"/Vol/\"quoted/dir\"/f.wav", "/Vol/\"quoted/dir\"/", "f", ".wav"},
      {"/a\"b/c\"d.e/x.y", "/a\"b/c\"d.e/", "x", ".y"},
      {"/v/\"odd.name", "/v/", "\"odd", ".name"},
  };
  for (PathCase const& c : cases) {
    GT::CPathSplitter s(c.path, '/');
    EXPECT_EQ(c.directory, s.GetDirectory()) << c.path;
    EXPECT_EQ(c.name, s.GetName()) << c.path;
    EXPECT_EQ(c.extension, s.GetExtension()) << c.path;
  }
  EXPECT_EQ("x.y", GT::CPathSplitter("x..y", '/').GetElementName());
  EXPECT_EQ("noext", GT::CPathSplitter("/d/noext", '/').GetElementName());
}

TEST(PathSplitter, ResplitReplacesEverythingAndKeepsOrChangesSeparator) {
  GT::CPathSplitter s("/a/b.c", '/');
  s.Split("C:\\dir\\f.wav", '\\');
  EXPECT_EQ("C:\\dir\\", s.GetDirectory());
  EXPECT_EQ("f.wav", s.GetElementName());
  s.Split("x\\y");
  EXPECT_EQ("x\\", s.GetDirectory());
  EXPECT_EQ("y", s.GetName());
  EXPECT_EQ("", s.GetExtension());
  EXPECT_EQ('\\', s.GetSeparator());
}

}  // namespace
