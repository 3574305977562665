#pragma once

#include "SL/Com/Buffer/CFileSampleBufferFactory.h"
#include "SL/Com/Stream/CSampleAttribute.h"
#include "SL/Com/Format/CWaveFileFormat.h"
#include "SL/Com/Stream/IInputSampleIterator.h"
#include "SL/Com/Stream/IOutputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace SL {

// Streams the samples of WAV and AIFF files; an empty pointer when a file
// cannot be read or written as asked.
class CFileSampleIteratorFactory {
public:
  // Recognises the file by content (WAVE first, then AIFF).
  boost::shared_ptr<IInputSampleIterator> Create(std::string const& path);
  // Creates or truncates the file; a frame count of 0 leaves the length open.
  boost::shared_ptr<IOutputSampleIterator> Create(CSampleAttribute const& attribute,
                                                  std::string const& path,
                                                  CWaveFileFormat const& format);

  static boost::shared_ptr<IInputSampleIterator> CreateInputSampleIterator(
      CFileSampleBufferFactory::CInputSource const& source);
  static boost::shared_ptr<IOutputSampleIterator> CreateOutputSampleIterator(
      CFileSampleBufferFactory::COutputSource const& source);
};

}  // namespace SL
