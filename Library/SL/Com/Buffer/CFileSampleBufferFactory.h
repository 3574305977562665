#pragma once

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Stream/CFileOutputSampleIterator.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Buffer/ISampleBuffer.h"

#include <boost/shared_ptr.hpp>

#include <iosfwd>
#include <string>

namespace SL {

// The WAV and AIFF specific steps of sample streaming: recognising a file,
// finding its sample data, reserving header room and finishing the header.
class CFileSampleBufferFactory {
public:
  // An open file ready to be read: its format, what its samples are, and the
  // byte range they occupy in the stream.
  class CInputSource {
  public:
    CInputSource(CWaveFileFormat const& format, CSampleAttribute const& attribute,
                 boost::shared_ptr<std::istream> stream, GT::CRange<long> const& range);
    CWaveFileFormat mFileFormat;
    CSampleAttribute mAttribute;
    boost::shared_ptr<std::istream> mStream;
    GT::CRange<long> mRange;
  };

  // A new file ready to be written behind its header room, and the function
  // that writes the header once the samples are in.
  class COutputSource {
  public:
    COutputSource(CWaveFileFormat const& format, CSampleAttribute const& attribute,
                  boost::shared_ptr<std::ostream> stream, GT::CRange<long> const& range,
                  CFileOutputFinalizer finalizer);
    CWaveFileFormat mFileFormat;
    CSampleAttribute mAttribute;
    boost::shared_ptr<std::ostream> mStream;
    GT::CRange<long> mRange;
    CFileOutputFinalizer mFinalizer;
  };

  // Empty when the stream is no usable file of that format.
  static boost::shared_ptr<CInputSource> CreateInputSourceFromRiffWave(
      boost::shared_ptr<std::istream> stream);
  static boost::shared_ptr<CInputSource> CreateInputSourceFromFormAiff(
      boost::shared_ptr<std::istream> stream);
  // Empty when the attribute cannot be written in that format.
  static boost::shared_ptr<COutputSource> CreateOutputSourceFromRiffWave(
      CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream);
  static boost::shared_ptr<COutputSource> CreateOutputSourceFromFormAiff(
      CSampleAttribute const& attribute, boost::shared_ptr<std::ostream> stream);

  // Recognises a file by content (WAVE first, then AIFF).
  static boost::shared_ptr<CInputSource> OpenInputSource(std::string const& path);
  static boost::shared_ptr<COutputSource> OpenOutputSource(CSampleAttribute const& attribute,
                                                           std::string const& path,
                                                           CWaveFileFormat const& format);

  // File sample buffers over a file's sample data.
  boost::shared_ptr<ISampleBuffer> Create(std::string const& path);
  boost::shared_ptr<ISampleBuffer> Create(CSampleAttribute const& attribute,
                                          std::string const& path, CWaveFileFormat const& format);
  static boost::shared_ptr<ISampleBuffer> CreateInputSampleBuffer(CInputSource const& source);
  static boost::shared_ptr<ISampleBuffer> CreateOutputSampleBuffer(COutputSource const& source);

  // Highest sample rate a readable file may declare.
  static double const sMaximumSampleRate;
};

}  // namespace SL
