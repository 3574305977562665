#pragma once

#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Buffer/ISampleCopier.h"

#include <boost/shared_ptr.hpp>

namespace SL {

class CSampleCopierFactory {
public:
  // The copier of one of the six sample bit depths; empty for any other.
  static boost::shared_ptr<ISampleCopier> Create(CBitDepth const& bitDepth);
};

}  // namespace SL
