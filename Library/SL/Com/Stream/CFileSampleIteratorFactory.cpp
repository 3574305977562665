#include "SL/Com/Stream/CFileSampleIteratorFactory.h"

#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"

namespace SL {

boost::shared_ptr<IInputSampleIterator> CFileSampleIteratorFactory::Create(
    std::string const& path) {
  boost::shared_ptr<CFileSampleBufferFactory::CInputSource> source =
      CFileSampleBufferFactory::OpenInputSource(path);
  if (!source) return boost::shared_ptr<IInputSampleIterator>();
  return CreateInputSampleIterator(*source);
}

boost::shared_ptr<IOutputSampleIterator> CFileSampleIteratorFactory::Create(
    CSampleAttribute const& attribute, std::string const& path, CWaveFileFormat const& format) {
  boost::shared_ptr<CFileSampleBufferFactory::COutputSource> source =
      CFileSampleBufferFactory::OpenOutputSource(attribute, path, format);
  if (!source) return boost::shared_ptr<IOutputSampleIterator>();
  return CreateOutputSampleIterator(*source);
}

boost::shared_ptr<IInputSampleIterator> CFileSampleIteratorFactory::CreateInputSampleIterator(
    CFileSampleBufferFactory::CInputSource const& source) {
  if (!source.mStream) return boost::shared_ptr<IInputSampleIterator>();
  return DispatchBitDepth(source.mAttribute.mBitDepth.GetValue(), [&source](auto depth) {
    return boost::shared_ptr<IInputSampleIterator>(
        new CFileInputSampleIterator<decltype(depth)::value>(source.mAttribute, source.mStream,
                                                             source.mRange));
  });
}

boost::shared_ptr<IOutputSampleIterator> CFileSampleIteratorFactory::CreateOutputSampleIterator(
    CFileSampleBufferFactory::COutputSource const& source) {
  if (!source.mStream) return boost::shared_ptr<IOutputSampleIterator>();
  return DispatchBitDepth(source.mAttribute.mBitDepth.GetValue(), [&source](auto depth) {
    return boost::shared_ptr<IOutputSampleIterator>(
        new CFileOutputSampleIterator<decltype(depth)::value>(source.mAttribute, source.mStream,
                                                              source.mRange, source.mFinalizer));
  });
}

}  // namespace SL
