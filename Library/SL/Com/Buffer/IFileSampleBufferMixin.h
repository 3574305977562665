#pragma once

#include <boost/shared_ptr.hpp>
#include <istream>
#include <ostream>

#include "GT/Com/Enum/CRange.h"
#include "SL/Com/Format/CWaveFileFormat.h"

namespace SL {

// What a buffer backed by a WAV or AIFF file adds: it holds either an input
// or an output stream (the other is empty) and the byte range of its samples.
class IFileSampleBufferMixin {
public:
  virtual ~IFileSampleBufferMixin() = default;

  virtual CWaveFileFormat GetFileFormat() const = 0;
  virtual bool Finalize() = 0;
  virtual boost::shared_ptr<std::istream> GetInputStream() = 0;
  virtual boost::shared_ptr<std::ostream> GetOutputStream() = 0;
  virtual GT::CRange<long> GetStreamPositionRange() const = 0;

protected:
  IFileSampleBufferMixin() = default;
};

}  // namespace SL
