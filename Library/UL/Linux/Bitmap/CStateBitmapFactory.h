#pragma once

#include "UL/Com/Bitmap/IStateBitmapFactory.h"

namespace UL {

// Makes BMP-backed pictures of one folder (ending with "/").
class CStateBitmapFactory : public IStateBitmapFactory {
public:
  explicit CStateBitmapFactory(std::string const& directory) : mDirectoryPathName(directory) {}

  boost::shared_ptr<AStateBitmap> Create(std::string const& name, long stateCount, bool horizontal,
                                         bool doubled) override;
  std::string GetDirectoryPathName() const override { return mDirectoryPathName; }

private:
  std::string mDirectoryPathName;
};

}  // namespace UL
