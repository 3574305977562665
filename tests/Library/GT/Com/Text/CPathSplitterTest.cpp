#include "GT/Com/Text/CPathSplitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Strings;

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
