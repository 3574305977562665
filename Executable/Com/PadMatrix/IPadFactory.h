#pragma once

#include "Executable/Com/PadMatrix/APad.h"

#include <boost/shared_ptr.hpp>

namespace VQ7 {

class IPadFactory {
public:
  virtual ~IPadFactory() {}
  virtual boost::shared_ptr<APad> Create(long id) = 0;
};

}  // namespace VQ7
