#include "GT/Linux/FileSystem/FileSystem.h"
#include "Platform/Framework/UResources.h"
#include "Support/GuiApplication.h"

#include <gtest/gtest.h>

namespace {

// A bundle identifier names the program or no loaded bundle at all.
TEST(ModuleBundle, TheProgramsIdentifierAnswersAndAnyOtherKeepsThePreviousValue) {
  std::string const saved = GT::GetModuleIdentifier();
  std::string const folder = GT::GetModuleDirectoryNameX(), file = GT::GetModuleFileNameA();
  ASSERT_FALSE(folder.empty());
  ASSERT_EQ(folder + "/", GT::GetModuleDirectoryName());
  GT::SetModuleIdentifier("");
  struct {
    char const* identifier;  // the program's, set first
    char const* asked;
    std::string folder, file;  // what the calls then give
  } const cases[] = {
      {"", "", "", ""},  // nothing registered: no id names the program
      {"VQ7Converter", "Other", "", ""},
      {"VQ7Converter", "vq7converter", "", ""},
      {"VQ7Converter", "VQ7Converter", folder, file},
      {"VQ7Converter", "Other", folder, file},  // the previous value
      {"", "", folder, file},
  };
  for (auto const& c : cases) {
    GT::SetModuleIdentifier(c.identifier);
    std::string const& a = GT::GetModuleDirectoryName(std::string(c.asked));
    std::string const& b = GT::GetModuleFileNameA(std::string(c.asked));
    EXPECT_EQ(c.folder, a) << c.identifier << " / " << c.asked;
    EXPECT_EQ(c.file, b) << c.identifier << " / " << c.asked;
    EXPECT_EQ(&a, &GT::GetModuleDirectoryName(std::string("x")));
    EXPECT_EQ(&b, &GT::GetModuleFileNameA(std::string("x")));
  }
  GT::SetModuleIdentifier(saved);
}

TEST(ModuleBundle, TheResourceFileGivesTheIdentifier) {
  Support::LoadAppResources();
  EXPECT_EQ("VQ7Converter", UResources::ApplicationIdentifier());
}

}  // namespace
