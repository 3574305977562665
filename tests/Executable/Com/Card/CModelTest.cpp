#include "Executable/Com/Card/CModel.h"
#include "Executable/Com/Card/FileUtilities.h"
#include "GT/Linux/FileSystem/FileSystem.h"
#include "Support/PrivateTempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <sys/stat.h>

namespace {

using VQ7::CModel;
using VQ7::CSampleParameter;

TEST(SampleParameter, Ranges) {
  // The defaults themselves show in a new model and in the bytes of a
  // written record.
  EXPECT_TRUE(CSampleParameter().IsValid());

  struct {
    char const* what;
    void (*change)(CSampleParameter&);
    bool valid;
  } const cases[] = {
      {"tempo2 399", [](CSampleParameter& q) { q.mTempo2 = 399; }, false},
      {"tempo2 400", [](CSampleParameter& q) { q.mTempo2 = 400; }, true},
      {"tempo2 2000", [](CSampleParameter& q) { q.mTempo2 = 2000; }, true},
      {"tempo2 2001", [](CSampleParameter& q) { q.mTempo2 = 2001; }, false},
      {"tempo2 0", [](CSampleParameter& q) { q.mTempo2 = 0; }, false},
      {"tempo1 0", [](CSampleParameter& q) { q.mTempo1 = 0; }, true},
      {"tempo1 2001", [](CSampleParameter& q) { q.mTempo1 = 2001; }, false},
      {"tempo1 -1", [](CSampleParameter& q) { q.mTempo1 = -1; }, false},
      {"field8 128", [](CSampleParameter& q) { q.mField8 = 128; }, false},
      {"field8 0", [](CSampleParameter& q) { q.mField8 = 0; }, true},
      {"field10 2", [](CSampleParameter& q) { q.mField10 = 2; }, true},
      {"field10 3", [](CSampleParameter& q) { q.mField10 = 3; }, false},
      {"lofi 1", [](CSampleParameter& q) { q.mLofi = 1; }, true},
      {"lofi 2", [](CSampleParameter& q) { q.mLofi = 2; }, false},
      {"lofi -1", [](CSampleParameter& q) { q.mLofi = static_cast<uint32_t>(-1); }, false},
      {"field5 2", [](CSampleParameter& q) { q.mField5 = 2; }, false},
      {"length -1", [](CSampleParameter& q) { q.mLength = -1; }, false},
      {"field0 -1", [](CSampleParameter& q) { q.mField0 = -1; }, false},
      {"field1 -1", [](CSampleParameter& q) { q.mField1 = -1; }, false},
  };
  for (auto const& c : cases) {
    CSampleParameter q;
    c.change(q);
    EXPECT_EQ(c.valid, q.IsValid()) << c.what;
    EXPECT_EQ(q.IsValid(), q.ClassInvariant()) << c.what;
  }
}

TEST(Model, SlotsOfBankAndPad) {
  CModel model;
  model.SampleParameter(1, 0).mLength = 16;  // slot 16
  EXPECT_EQ(16, model.mParameters[16].mLength);
  EXPECT_TRUE(model.IsSampleAssigned(1, 0));
  EXPECT_FALSE(model.IsSampleAssigned(0, 1));
  EXPECT_THROW(model.SampleParameter(8, 0), std::out_of_range);
  EXPECT_THROW(model.SampleParameter(0, -1), std::out_of_range);
  model.mPad = 16;
  EXPECT_FALSE(model.ClassInvariant());
}

TEST(Model, CardPaths) {
  CModel model;
  model.mVolume = "/media/u/CARD";
  EXPECT_EQ("/media/u/CARD/TAVRIN/VQ730/WVCINFO0.VQD", model.GetSampleInformationFilePathName());
  EXPECT_EQ("/x/TAVRIN/VQ730/WVCINFO0.VQD", CModel::GetSampleInformationFilePathName("/x"));

  struct {
    long bank, pad;
    char const* digits;
  } const slots[] = {
      {0, 0, "0000"}, {0, 10, "000A"}, {1, 0, "0010"}, {7, 15, "007F"}, {2, 11, "002B"}};
  for (auto const& s : slots) {
    std::string const prefix = std::string("/media/u/CARD/TAVRIN/VQ730/SMP") + s.digits;
    EXPECT_EQ(prefix + "L.VQD", model.GetSampleFilePathNameL(s.bank, s.pad));
    EXPECT_EQ(prefix + "R.VQD", model.GetSampleFilePathNameR(s.bank, s.pad));
  }

  CModel card;
  card.mVolume = "/Volumes/CARD";
  EXPECT_EQ(
      "/Volumes/CARD/TAVRIN/VQ730/___VQ7_TEMPORARY_SAMPLE_FILE___1",
      card.ToCardTemporarySampleFilePathName("/private/tmp/x/___VQ7_TEMPORARY_SAMPLE_FILE___1"));
  EXPECT_EQ("/Volumes/CARD/TAVRIN/VQ730/name.tmp",
            card.ToCardTemporarySampleFilePathName("name.tmp"));
  // The element is kept byte for byte, doubled points and quotes included.
  EXPECT_EQ("/Volumes/CARD/TAVRIN/VQ730/a..b\"c",
            card.ToCardTemporarySampleFilePathName("/t/\"x/a..b\"c"));
}

TEST(Model, TemporaryPathsLieInAPrivateFolder) {
  CModel model;
  std::string const folder = VQ7::GetTemporaryDirectoryName();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE('/', folder.back());
  EXPECT_EQ(folder, VQ7::GetTemporaryDirectoryName());
  EXPECT_EQ(GT::GetTemporaryDirectoryName(), folder);  // one private folder per process
  struct stat info;
  ASSERT_EQ(0, ::stat(folder.c_str(), &info));
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(0700u, info.st_mode & 0777u);
  EXPECT_EQ(folder + "/___VQ7_TEMPORARY_SAMPLE_INFORMATION_FILE___",
            model.GetTemporarySampleInformationFilePathName(
                "___VQ7_TEMPORARY_SAMPLE_INFORMATION_FILE___"));
  EXPECT_EQ(folder + "/___VQ7_TEMPORARY_SAMPLE_FILE___",
            model.GetTemporarySampleFilePathName("___VQ7_TEMPORARY_SAMPLE_FILE___"));

  // No private folder to be had: no path, rather than one in a shared folder.
  ASSERT_TRUE(GT::RemoveDirectoryX(folder));
  Support::CScopedEnv const unusable("TMPDIR", folder + "/missing");
  EXPECT_EQ("", VQ7::GetTemporaryDirectoryName());
  EXPECT_EQ("", model.GetTemporarySampleFilePathName("___VQ7_TEMPORARY_SAMPLE_FILE___"));
}

}  // namespace
