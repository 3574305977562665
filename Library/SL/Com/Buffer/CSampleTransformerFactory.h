#pragma once

#include "SL/Com/Format/CBitDepth.h"
#include "SL/Com/Buffer/ISampleTransformer.h"

#include <boost/shared_ptr.hpp>

namespace SL {

class CSampleTransformerFactory {
public:
  // The transformer of one of the six sample bit depths; empty for any other.
  static boost::shared_ptr<ISampleTransformer> Create(CBitDepth const& bitDepth);
};

}  // namespace SL
