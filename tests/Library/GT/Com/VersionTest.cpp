#include "GT/Com/Version.h"

#include <gtest/gtest.h>

#include <string>

TEST(Version, NamesTheProgram) {
  EXPECT_FALSE(std::string(GT::ProgramName()).empty());
  EXPECT_FALSE(std::string(GT::ProgramVersion()).empty());
}
