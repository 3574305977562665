#pragma once

#include "UL/Com/Bitmap/AStateBitmap.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace UL {

// Makes multi-state pictures for one folder. Loading takes two steps: Create
// here makes the unloaded bitmap, then the bitmap's own Create is given
// GetDirectoryPathName().
class IStateBitmapFactory {
public:
  virtual boost::shared_ptr<AStateBitmap> Create(std::string const& name, long stateCount,
                                                 bool horizontal, bool doubled) = 0;
  virtual std::string GetDirectoryPathName() const = 0;

protected:
  // Used by reference only, never deleted through the interface.
  ~IStateBitmapFactory() = default;
};

}  // namespace UL
