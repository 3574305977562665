#include "Executable/Com/Conversion/CKvacFileSampleIteratorFactory.h"

#include "Executable/Com/Conversion/Constants.h"
#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Iff/CFileDataSource.h"
#include "SL/Com/Kvac/KvacBlock.h"
#include "SL/Com/Stream/CSampleAttribute.h"

#include <cstdint>
#include <istream>

namespace VQ7 {

namespace {

// The device's format: 16-bit samples at 44100 Hz, one file per channel.
SL::CSampleAttribute DeviceAttribute(size_t channels, long frames) {
  SL::CSampleAttribute attribute;
  attribute.SetEndian(GT::CEndianness::sPlatform);
  attribute.mBitDepth = SL::CBitDepth::Integer16;
  attribute.mSampleRate = nSampleRate;
  attribute.mChannelCount = static_cast<int>(channels);
  attribute.mFrameCount = frames;
  return attribute;
}

}  // namespace

boost::shared_ptr<SL::CKvacFileInputSampleIterator> CKvacFileSampleIteratorFactory::CreateInput(
    std::vector<std::string> const& files, bool lofi, long length) const {
  typedef boost::shared_ptr<SL::CKvacFileInputSampleIterator> CResult;
  if (files.empty()) return CResult();

  std::vector<boost::shared_ptr<std::istream> > streams;
  std::vector<int64_t> sizes;
  for (std::string const& file : files) {
    boost::shared_ptr<std::istream> stream = SL::CFileDataSource(file, false).CreateInputStream();
    if (!stream) return CResult();
    stream->seekg(0, std::ios::end);
    std::streamoff const size = stream->tellg();
    stream->clear();
    if (size < 0) return CResult();
    streams.push_back(stream);
    sizes.push_back(static_cast<int64_t>(size));
  }

  int const bits = lofi ? 4 : 8;
  int64_t const blockBytes = SL::KvacBlockBytes(bits);
  int64_t const framesPerBlock = SL::nKvacBlockFrames;
  // A block interleaves both of its halves through all of its bytes, so
  // only whole blocks decode: every file must hold all of them.
  if (length < 0) length = static_cast<long>(sizes[0] / blockBytes * framesPerBlock);
  int64_t const blocks = length / framesPerBlock + (length % framesPerBlock != 0 ? 1 : 0);
  for (int64_t size : sizes)
    if (size / blockBytes < blocks) return CResult();

  return CResult(new SL::CKvacFileInputSampleIterator(bits, DeviceAttribute(files.size(), length),
                                                      streams, 0));
}

boost::shared_ptr<SL::CKvacFileOutputSampleIterator> CKvacFileSampleIteratorFactory::CreateOutput(
    std::vector<std::string> const& files) const {
  typedef boost::shared_ptr<SL::CKvacFileOutputSampleIterator> CResult;

  // Run once per channel stream; a second run finds no pending block.
  class CFinalizer {
  public:
    static bool Finalize(SL::CKvacFileOutputSampleIterator& iterator, GT::CRange<long> const&) {
      return iterator.FinalFlush();
    }
  };

  if (files.empty()) return CResult();
  std::vector<boost::shared_ptr<std::ostream> > streams;
  for (std::string const& file : files) {
    boost::shared_ptr<std::ostream> stream = SL::CFileDataSource(file, false).CreateOutputStream();
    if (!stream) return CResult();
    streams.push_back(stream);
  }

  return CResult(new SL::CKvacFileOutputSampleIterator(8, DeviceAttribute(files.size(), 0), streams,
                                                       GT::CRange<long>(0, 0x7FFFFFFF),
                                                       &CFinalizer::Finalize));
}

}  // namespace VQ7
