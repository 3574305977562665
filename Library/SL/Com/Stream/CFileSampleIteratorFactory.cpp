#include "SL/Com/Stream/CFileSampleIteratorFactory.h"

#include "SL/Com/Stream/CFileInputSampleIterator.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"

namespace SL {

namespace {

template <int N>
boost::shared_ptr<IInputSampleIterator> MakeInput(CFileSampleBufferFactory::CInputSource const& s) {
  return boost::shared_ptr<IInputSampleIterator>(
      new CFileInputSampleIterator<N>(s.mAttribute, s.mStream, s.mRange));
}

template <int N>
boost::shared_ptr<IOutputSampleIterator> MakeOutput(
    CFileSampleBufferFactory::COutputSource const& s) {
  return boost::shared_ptr<IOutputSampleIterator>(
      new CFileOutputSampleIterator<N>(s.mAttribute, s.mStream, s.mRange, s.mFinalizer));
}

}  // namespace

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
  switch (source.mAttribute.mBitDepth.GetValue()) {
    case 65544:
      return MakeInput<65544>(source);
    case 65552:
      return MakeInput<65552>(source);
    case 65560:
      return MakeInput<65560>(source);
    case 65568:
      return MakeInput<65568>(source);
    case 131104:
      return MakeInput<131104>(source);
    case 131136:
      return MakeInput<131136>(source);
    default:
      return boost::shared_ptr<IInputSampleIterator>();
  }
}

boost::shared_ptr<IOutputSampleIterator> CFileSampleIteratorFactory::CreateOutputSampleIterator(
    CFileSampleBufferFactory::COutputSource const& source) {
  if (!source.mStream) return boost::shared_ptr<IOutputSampleIterator>();
  switch (source.mAttribute.mBitDepth.GetValue()) {
    case 65544:
      return MakeOutput<65544>(source);
    case 65552:
      return MakeOutput<65552>(source);
    case 65560:
      return MakeOutput<65560>(source);
    case 65568:
      return MakeOutput<65568>(source);
    case 131104:
      return MakeOutput<131104>(source);
    case 131136:
      return MakeOutput<131136>(source);
    default:
      return boost::shared_ptr<IOutputSampleIterator>();
  }
}

}  // namespace SL
