#pragma once

#include "SL/Com/Kvac/CKvacFileInputSampleIterator.h"
#include "SL/Com/Kvac/CKvacFileOutputSampleIterator.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace VQ7 {

// Builds the iterators over the device's coded files, one file per channel,
// channel 0 (left) first.
class CKvacFileSampleIteratorFactory {
public:
  // Decodes the files with 8 coded bits per sample, or 4 for lofi. A
  // negative length takes the whole blocks of the first file. Every file
  // must hold the whole blocks of `length` frames; otherwise, or when a
  // file cannot be opened, the result is empty.
  boost::shared_ptr<SL::CKvacFileInputSampleIterator> CreateInput(
      std::vector<std::string> const& files, bool lofi, long length) const;

  // Encodes with 8 coded bits per sample into the files (created or
  // truncated); its finaliser writes the last partial block. Empty when a
  // file cannot be created.
  boost::shared_ptr<SL::CKvacFileOutputSampleIterator> CreateOutput(
      std::vector<std::string> const& files) const;
};

}  // namespace VQ7
