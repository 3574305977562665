#include "SL/Com/Iff/CFileDataSource.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <istream>
#include <ostream>

using TestSupport::CScratchDir;
using TestSupport::ReadFileBytes;
using TestSupport::WriteFileBytes;

TEST(FileDataSource, OpensWhatExistsAndRefusesTheRest) {
  CScratchDir dir;
  std::string const missing = dir.File("missing.bin");
  EXPECT_FALSE(SL::CFileDataSource(missing, false).CreateInputStream());
  EXPECT_FALSE(SL::CFileDataSource(missing, true).CreateOutputStream());
  EXPECT_FALSE(std::filesystem::exists(missing)) << "update mode must not create the file";
  // A folder in the way is no file, for reading or writing.
  EXPECT_FALSE(SL::CFileDataSource(dir.Path(), false).CreateInputStream());
  EXPECT_FALSE(SL::CFileDataSource(dir.Path(), false).CreateOutputStream());
  EXPECT_FALSE(SL::CFileDataSource(dir.File("no/such/folder/x"), false).CreateOutputStream());
}

TEST(FileDataSource, TruncatesOrUpdatesInPlace) {
  CScratchDir dir;
  std::string const path = dir.File("data.bin");
  ASSERT_TRUE(WriteFileBytes(path, {1, 2, 3, 4, 5}));
  {
    boost::shared_ptr<std::ostream> out = SL::CFileDataSource(path, true).CreateOutputStream();
    ASSERT_TRUE(out);
    out->seekp(1);
    out->put(9);
  }
  EXPECT_EQ(ReadFileBytes(path), (std::vector<unsigned char>{1, 9, 3, 4, 5}));
  boost::shared_ptr<std::ostream> out = SL::CFileDataSource(path, false).CreateOutputStream();
  ASSERT_TRUE(out);
  EXPECT_EQ(std::filesystem::file_size(path), 0u);
}
