#include "Executable/Com/Conversion/CKvacFileSampleIteratorFactory.h"

#include "Support/AudioFixtures.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

using CScratchFolder = TestSupport::CScratchDir;

typedef std::vector<unsigned char> Bytes;

TEST(KvacFileSampleIteratorFactory, InputNeedsTheWholeBlocksOfEveryFile) {
  CScratchFolder folder;
  std::string const file = folder / "a.VQD";
  TestSupport::WriteFileBytes(file, Bytes(1000, 0));
  VQ7::CKvacFileSampleIteratorFactory const factory;

  auto frames = [&](std::vector<std::string> const& files, bool lofi, long length) -> long {
    boost::shared_ptr<SL::CKvacFileInputSampleIterator> input =
        factory.CreateInput(files, lofi, length);
    return input ? input->GetAttribute().mFrameCount : -99;
  };
  EXPECT_EQ(992, frames({file}, false, -1));  // 62 whole blocks of 16 bytes
  EXPECT_EQ(2000, frames({file}, true, -1));  // 125 blocks of 8 bytes
  EXPECT_EQ(992, frames({file}, false, 992));
  EXPECT_EQ(-99, frames({file}, false, 993));
  EXPECT_EQ(-99, frames({file}, false, 1000));
  EXPECT_EQ(-99, frames({file}, false, 1001));
  EXPECT_EQ(2000, frames({file}, true, 2000));
  EXPECT_EQ(-99, frames({file}, true, 2001));
  EXPECT_EQ(0, frames({file}, false, 0));
  EXPECT_EQ(-99, frames({file}, false, std::numeric_limits<long>::max()));  // no overflow

  std::string const shorter = folder / "b.VQD";
  TestSupport::WriteFileBytes(shorter, Bytes(960, 0));
  EXPECT_EQ(-99, frames({file, shorter}, false, 992));
  EXPECT_EQ(960, frames({file, shorter}, false, 960));
  EXPECT_EQ(-99, frames({file, folder / "missing"}, false, 16));
  EXPECT_EQ(-99, frames({}, false, 16));

  boost::shared_ptr<SL::CKvacFileInputSampleIterator> input =
      factory.CreateInput({file, shorter}, false, 960);
  ASSERT_TRUE(input);
  SL::CSampleAttribute const& attribute = input->GetAttribute();
  EXPECT_EQ(2, attribute.mChannelCount);
  EXPECT_EQ(44100.0, attribute.mSampleRate);
  EXPECT_EQ(65552, attribute.mBitDepth.GetValue());
  EXPECT_EQ(GT::CEndianness::sPlatform, attribute.GetEndian());

  EXPECT_FALSE(factory.CreateOutput({}));
  EXPECT_FALSE(factory.CreateOutput({folder / "no/folder/x"}));
  boost::shared_ptr<SL::CKvacFileOutputSampleIterator> output =
      factory.CreateOutput({folder / "o0", folder / "o1"});
  ASSERT_TRUE(output);
  EXPECT_EQ(2, output->GetAttribute().mChannelCount);
  EXPECT_EQ(0, output->GetAttribute().mFrameCount);
  for (int i = 0; i < 40; ++i) {  // 20 frames
    output->Set(static_cast<short>(i));
    output->Next();
  }
  EXPECT_TRUE(output->Finalize());  // the finaliser runs once per stream
  output.reset();
  EXPECT_EQ(32u, TestSupport::ReadFileBytes(folder / "o0").size());
  EXPECT_EQ(32u, TestSupport::ReadFileBytes(folder / "o1").size());
}

}  // namespace
