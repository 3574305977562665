#pragma once

#include "SL/Com/CBitDepth.h"
#include "SL/Com/ISampleTransformer.h"

#include <boost/shared_ptr.hpp>

namespace SL {

class CSampleTransformerFactory {
 public:
  // The transformer of one of the six sample bit depths; empty for any other.
  static boost::shared_ptr<ISampleTransformer> Create(CBitDepth const& bitDepth);
};

}  // namespace SL
